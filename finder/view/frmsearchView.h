#pragma once
// The File Finder on screen: a tab strip whose "Local Search " page holds the search controls,
// each widget bound to its control of frmsearch and named after it.

#include <QWidget>

#include "finder/frmsearch.h"
#include "platform/qt/Binder.h"

namespace korvalin {

class frmsearchView : public QWidget {
 public:
  explicit frmsearchView(frmsearch& form, QWidget* parent = nullptr);

  // The page of the "Internet Search" tab, empty until that search is built.
  QWidget* InternetPage() const { return internetPage_; }

 private:
  QWidget* BuildLocalPage();

  frmsearch& form_;
  Binder binder_;
  QWidget* internetPage_ = nullptr;
};

}  // namespace korvalin
