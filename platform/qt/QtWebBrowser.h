#pragma once
// The web-browser control on screen: a Chromium-based view that the program navigates and
// otherwise leaves alone. Without a network it shows the engine's own error page.

#include <string>

#include "platform/WebBrowser.h"

class QWebEngineView;
class QWidget;

namespace korvalin {

// Chromium will not start as the superuser with its sandbox on: when the program runs as root,
// and only then, "--no-sandbox" joins the engine's flags. Call before the first browser is made
// (making a QtWebBrowser calls it too).
void PrepareWebEngine();

class QtWebBrowser : public WebBrowser {
 public:
  explicit QtWebBrowser(QWidget* parent);

  // The view, owned by its parent widget.
  QWebEngineView* View() const { return view_; }

  // An absolute path is loaded as a local file; anything else is taken as an encoded URL.
  void Navigate(const std::string& url) override;

 private:
  QWebEngineView* view_;
};

}  // namespace korvalin
