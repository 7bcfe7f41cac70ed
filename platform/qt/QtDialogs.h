#pragma once
// Message boxes, input boxes and file dialogs shown with Qt. Each belongs to the window the user
// is working in (the one that asked), so that the main window does not come up over it.

#include "platform/Dialogs.h"

class QWidget;

namespace korvalin {

class QtDialogs : public Dialogs {
 public:
  // The window the dialogs belong to when no window of the program is active (may be null).
  void SetParent(QWidget* parent) { parent_ = parent; }
  // The window a dialog shown now belongs to: a dialog already open over another window, else the
  // program's active window, else the one set above.
  QWidget* Owner() const;
  // The program is ending with nobody to answer (a SIGTERM): every dialog open now is closed as
  // Escape would close it, and every later one is answered that way at once, unshown.
  void EndAll();

  MsgBoxResult MsgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon,
                      const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
  std::optional<std::string> PickFolder(const std::string& title, const std::string& initialFolder) override;

 private:
  QWidget* parent_ = nullptr;
  bool ending_ = false;
};

// A filter in the program's form ("WAV, MP3|*.wav;*.mp3|All|*.*") as a Qt file-dialog filter.
// Patterns match both cases of their letters, since names here are case-sensitive.
std::string QtFileFilter(const std::string& filter);

}  // namespace korvalin
