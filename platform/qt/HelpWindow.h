#pragma once
// The help window: shows the pages of a compiled help file and follows their links inside it.

#include <QTextBrowser>
#include <memory>

#include "platform/HelpViewer.h"
#include "platform/linux/ChmArchive.h"

namespace korvalin {

class HelpWindow : public QTextBrowser {
 public:
  explicit HelpWindow(std::unique_ptr<ChmArchive> archive);
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  std::unique_ptr<ChmArchive> archive_;
};

// The help viewer of the desktop program: one help window, reused.
class QtHelpViewer : public HelpViewer {
 public:
  bool ShowHelp(const std::string& helpFile) override;
  HelpWindow* Window() const { return window_.get(); }

 private:
  std::unique_ptr<HelpWindow> window_;
};

}  // namespace korvalin
