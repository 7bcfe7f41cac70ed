#pragma once
// Dialogs for the command-line companion: messages go to standard error, and every question
// gets the cautious answer (Cancel or No where offered), since nobody is there to answer.

#include "platform/Dialogs.h"

namespace korvalin {

class ConsoleDialogs : public Dialogs {
 public:
  MsgBoxResult MsgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon,
                      const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
  std::optional<std::string> PickFolder(const std::string& title, const std::string& initialFolder) override;
};

// The answer a box gets when nobody answers it: Cancel or No where offered, otherwise the
// first button.
MsgBoxResult CautiousAnswer(MsgBoxButtons buttons);

}  // namespace korvalin
