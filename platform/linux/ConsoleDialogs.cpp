#include "platform/linux/ConsoleDialogs.h"

#include <cstdio>

namespace korvalin {

MsgBoxResult CautiousAnswer(MsgBoxButtons buttons) {
  switch (buttons) {
    case MsgBoxButtons::OK: return MsgBoxResult::OK;
    case MsgBoxButtons::OKCancel:
    case MsgBoxButtons::YesNoCancel:
    case MsgBoxButtons::RetryCancel: return MsgBoxResult::Cancel;
    case MsgBoxButtons::AbortRetryIgnore: return MsgBoxResult::Abort;
    case MsgBoxButtons::YesNo: return MsgBoxResult::No;
  }
  return MsgBoxResult::OK;
}

MsgBoxResult ConsoleDialogs::MsgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon,
                                    const std::string& title) {
  std::fprintf(stderr, "%s: %s\n", title.empty() ? kApplicationTitle : title.c_str(), text.c_str());
  return CautiousAnswer(buttons);
}

std::optional<std::string> ConsoleDialogs::InputBox(const std::string& prompt, const std::string&,
                                                    const std::string&) {
  std::fprintf(stderr, "%s: %s (no answer given)\n", kApplicationTitle, prompt.c_str());
  return std::nullopt;
}

std::optional<std::string> ConsoleDialogs::OpenFile(const FileDialogRequest&) { return std::nullopt; }
std::optional<std::string> ConsoleDialogs::SaveFile(const FileDialogRequest&) { return std::nullopt; }
std::optional<std::string> ConsoleDialogs::PickFolder(const std::string&, const std::string&) { return std::nullopt; }

}  // namespace korvalin
