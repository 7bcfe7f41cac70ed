#pragma once
// The main window on screen: the regions and status displays of Form1, bound to its controls.

#include <QMainWindow>

#include "app/Form1.h"
#include "platform/qt/Binder.h"

namespace korvalin {

class Form1View : public QMainWindow {
 public:
  explicit Form1View(Form1& form);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Form1& form_;
  Binder binder_;
};

}  // namespace korvalin
