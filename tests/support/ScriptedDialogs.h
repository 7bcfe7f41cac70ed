#pragma once
// Dialogs answered from a script. Every call is recorded; a message box with no scripted answer
// gets OK (or the first button), an input box or file dialog with none is cancelled.

#include <deque>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace korvalin::test {

struct MessageCall {
  std::string text;
  MsgBoxButtons buttons;
  MsgBoxIcon icon;
  std::string title;
};

struct InputCall {
  std::string prompt;
  std::string title;
  std::string defaultText;
};

// An open or save dialog, or a folder picker (which has no filter).
struct FileDialogCall {
  std::string title;
  std::string filter;
  std::string initialFolder;
};

class ScriptedDialogs : public Dialogs {
 public:
  MsgBoxResult MsgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon,
                      const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
  std::optional<std::string> PickFolder(const std::string& title, const std::string& initialFolder) override;

  // Answers, used in order.
  std::deque<MsgBoxResult> messageAnswers;
  std::deque<std::optional<std::string>> inputAnswers;
  std::deque<std::optional<std::string>> fileAnswers;  // open and save dialogs, folder pickers

  // What was asked, in order.
  std::vector<MessageCall> messages;
  std::vector<InputCall> inputs;
  std::vector<FileDialogCall> fileDialogs;

  // The texts of the message boxes shown, in order.
  std::vector<std::string> MessageTexts() const;
};

}  // namespace korvalin::test
