#include "platform/qt/QtWebBrowser.h"

#include <unistd.h>

#include <QByteArray>
#include <QUrl>
#include <QWebEngineView>

namespace korvalin {
namespace {

constexpr const char* kFlagsVariable = "QTWEBENGINE_CHROMIUM_FLAGS";

QWebEngineView* MakeView(QWidget* parent) {
  PrepareWebEngine();
  return new QWebEngineView(parent);
}

}  // namespace

void PrepareWebEngine() {
  if (::geteuid() != 0) return;
  QByteArray flags = qgetenv(kFlagsVariable);
  if (flags.split(' ').contains("--no-sandbox")) return;
  if (!flags.isEmpty()) flags += ' ';
  flags += "--no-sandbox";
  qputenv(kFlagsVariable, flags);
}

QtWebBrowser::QtWebBrowser(QWidget* parent) : view_(MakeView(parent)) {}

void QtWebBrowser::Navigate(const std::string& url) {
  QUrl target;
  if (!url.empty() && url[0] == '/') {
    target = QUrl::fromLocalFile(QString::fromStdString(url));
  } else {
    // The program's URLs come encoded already: keep every escape as it is.
    target = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
    if (!target.isValid()) target = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::TolerantMode);
  }
  view_->load(target);
}

}  // namespace korvalin
