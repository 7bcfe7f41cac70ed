#include "platform/qt/HelpWindow.h"

#include <QUrl>

namespace korvalin {

HelpWindow::HelpWindow(std::unique_ptr<ChmArchive> archive) : archive_(std::move(archive)) {
  setObjectName("HelpWindow");
  setWindowTitle("Korvalin Help");
  setOpenLinks(true);
  setOpenExternalLinks(false);
  resize(640, 480);
  setSource(QUrl(QString::fromStdString("chm:" + archive_->DefaultTopic())));
}

QVariant HelpWindow::loadResource(int type, const QUrl& name) {
  if (name.scheme() == "chm" || name.scheme().isEmpty()) {
    if (auto bytes = archive_->Read(name.path().toStdString())) {
      const QByteArray data(bytes->data(), static_cast<qsizetype>(bytes->size()));
      if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource) return QString::fromUtf8(data);
      return data;
    }
    return {};
  }
  return QTextBrowser::loadResource(type, name);
}

bool QtHelpViewer::ShowHelp(const std::string& helpFile) {
  auto archive = ChmArchive::Open(helpFile);
  if (!archive) return false;
  window_ = std::make_unique<HelpWindow>(std::move(archive));
  window_->show();
  window_->raise();
  return true;
}

}  // namespace korvalin
