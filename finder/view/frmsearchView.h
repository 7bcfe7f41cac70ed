#pragma once
// The File Finder on screen: a tab strip whose "Local Search " page holds the search controls
// and whose "Internet Search" page holds the web search with its browser, each widget bound to
// its control of frmsearch and named after it.

#include <QWidget>
#include <memory>

#include "controls/Signal.h"
#include "finder/frmsearch.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtWebBrowser.h"

class QMenu;
class QTabWidget;
class QWebEngineView;

namespace korvalin {

class frmsearchView : public QWidget {
 public:
  explicit frmsearchView(frmsearch& form, QWidget* parent = nullptr);
  ~frmsearchView() override;

  // The page of the "Internet Search" tab.
  QWidget* InternetPage() const { return internetPage_; }
  // The browser of that page (the form's Web1).
  QWebEngineView* WebView() const { return browser_->View(); }
  // The result list's pop-up menu.
  QMenu* ResultMenu() const { return popup_; }

 private:
  QWidget* BuildLocalPage();
  QWidget* BuildInternetPage();

  frmsearch& form_;
  Binder binder_;
  QWidget* internetPage_ = nullptr;
  std::unique_ptr<QtWebBrowser> browser_;
  QMenu* popup_ = nullptr;
  controls::Connection popupConnection_;
};

}  // namespace korvalin
