#include "tests/support/ScriptedDialogs.h"

namespace korvalin::test {
namespace {

MsgBoxResult FirstButton(MsgBoxButtons buttons) {
  switch (buttons) {
    case MsgBoxButtons::OK:
    case MsgBoxButtons::OKCancel: return MsgBoxResult::OK;
    case MsgBoxButtons::AbortRetryIgnore: return MsgBoxResult::Abort;
    case MsgBoxButtons::YesNoCancel:
    case MsgBoxButtons::YesNo: return MsgBoxResult::Yes;
    case MsgBoxButtons::RetryCancel: return MsgBoxResult::Retry;
  }
  return MsgBoxResult::OK;
}

template <typename T>
T Take(std::deque<T>& answers, T fallback) {
  if (answers.empty()) return fallback;
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

}  // namespace

MsgBoxResult ScriptedDialogs::MsgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon,
                                     const std::string& title) {
  messages.push_back({text, buttons, icon, title});
  return Take(messageAnswers, FirstButton(buttons));
}

std::optional<std::string> ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                                     const std::string& defaultText) {
  inputs.push_back({prompt, title, defaultText});
  return Take<std::optional<std::string>>(inputAnswers, std::nullopt);
}

std::optional<std::string> ScriptedDialogs::OpenFile(const FileDialogRequest& request) {
  fileDialogs.push_back({request.title, request.filter, request.initialFolder});
  return Take<std::optional<std::string>>(fileAnswers, std::nullopt);
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileDialogRequest& request) {
  fileDialogs.push_back({request.title, request.filter, request.initialFolder});
  return Take<std::optional<std::string>>(fileAnswers, std::nullopt);
}

std::optional<std::string> ScriptedDialogs::PickFolder(const std::string& title, const std::string& initialFolder) {
  fileDialogs.push_back({title, {}, initialFolder});
  return Take<std::optional<std::string>>(fileAnswers, std::nullopt);
}

std::vector<std::string> ScriptedDialogs::MessageTexts() const {
  std::vector<std::string> texts;
  for (const auto& m : messages) texts.push_back(m.text);
  return texts;
}

}  // namespace korvalin::test
