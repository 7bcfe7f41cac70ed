#pragma once
// Message boxes, input boxes and file dialogs: the program asks, the user (or a test) answers.

#include <optional>
#include <string>

namespace korvalin {

enum class MsgBoxButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgBoxIcon { None, Critical, Question, Exclamation, Information };
enum class MsgBoxResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The title shown when a message box is given none.
inline constexpr const char* kApplicationTitle = "Korvalin";

struct FileDialogRequest {
  std::string title;
  // Pairs of description and patterns: "WAV, MP3|*.wav;*.mp3" (more pairs follow after "|").
  std::string filter;
  std::string defaultExtension;
  std::string initialFolder;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // An empty title means the application's own title.
  virtual MsgBoxResult MsgBox(const std::string& text, MsgBoxButtons buttons = MsgBoxButtons::OK,
                              MsgBoxIcon icon = MsgBoxIcon::None, const std::string& title = {}) = 0;

  // The text entered, or nothing when the user cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title = {},
                                              const std::string& defaultText = {}) = 0;

  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;

  // A folder chosen by the user, starting at `initialFolder`; nothing when cancelled.
  virtual std::optional<std::string> PickFolder(const std::string& title, const std::string& initialFolder) = 0;
};

}  // namespace korvalin
