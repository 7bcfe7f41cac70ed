#pragma once
// Shows a compiled help file at its default topic.

#include <string>

namespace korvalin {

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // Opens the help window on the file's default topic; false when the file cannot be read.
  virtual bool ShowHelp(const std::string& helpFile) = 0;
};

}  // namespace korvalin
