#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace korvalin {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QString Title(const std::string& title) { return Q(title.empty() ? kApplicationTitle : title); }

std::vector<std::pair<QMessageBox::StandardButton, MsgBoxResult>> ButtonsOf(MsgBoxButtons buttons) {
  using B = QMessageBox;
  using R = MsgBoxResult;
  switch (buttons) {
    case MsgBoxButtons::OK: return {{B::Ok, R::OK}};
    case MsgBoxButtons::OKCancel: return {{B::Ok, R::OK}, {B::Cancel, R::Cancel}};
    case MsgBoxButtons::AbortRetryIgnore: return {{B::Abort, R::Abort}, {B::Retry, R::Retry}, {B::Ignore, R::Ignore}};
    case MsgBoxButtons::YesNoCancel: return {{B::Yes, R::Yes}, {B::No, R::No}, {B::Cancel, R::Cancel}};
    case MsgBoxButtons::YesNo: return {{B::Yes, R::Yes}, {B::No, R::No}};
    case MsgBoxButtons::RetryCancel: return {{B::Retry, R::Retry}, {B::Cancel, R::Cancel}};
  }
  return {{B::Ok, R::OK}};
}

QMessageBox::Icon IconOf(MsgBoxIcon icon) {
  switch (icon) {
    case MsgBoxIcon::None: return QMessageBox::NoIcon;
    case MsgBoxIcon::Critical: return QMessageBox::Critical;
    case MsgBoxIcon::Question: return QMessageBox::Question;
    case MsgBoxIcon::Exclamation: return QMessageBox::Warning;
    case MsgBoxIcon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// Each pattern in both cases: "*.wav" -> "*.wav *.WAV".
QString BothCases(const std::string& patterns) {
  QStringList out;
  for (const QString& p : Q(patterns).split(';', Qt::SkipEmptyParts)) {
    const QString t = p.trimmed();
    if (!out.contains(t)) out << t;
    if (!out.contains(t.toUpper())) out << t.toUpper();
  }
  return out.join(' ');
}

}  // namespace

std::string QtFileFilter(const std::string& filter) {
  const QStringList parts = Q(filter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    filters << parts[i] + " (" + BothCases(parts[i + 1].toStdString()) + ")";
  }
  return filters.join(";;").toStdString();
}

QWidget* QtDialogs::Owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  QWidget* active = QApplication::activeWindow();
  // A pop-up menu closing as its command runs is no owner; the window it belongs to is.
  while (active && (active->windowFlags() & Qt::Popup) == Qt::Popup) {
    active = active->parentWidget() ? active->parentWidget()->window() : nullptr;
  }
  return active && active->isVisible() ? active : parent_;
}

void QtDialogs::EndAll() {
  ending_ = true;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (dialog && dialog->isVisible()) dialog->reject();
  }
}

MsgBoxResult QtDialogs::MsgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon,
                               const std::string& title) {
  const auto map = ButtonsOf(buttons);
  // Closed without a button: what Escape would give.
  const MsgBoxResult escape = map.size() == 1 ? map.front().second : map.back().second;
  if (ending_) return escape;
  QMessageBox box(IconOf(icon), Title(title), Q(text), QMessageBox::NoButton, Owner());
  for (const auto& [button, result] : map) box.addButton(button);
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  for (const auto& [button, result] : map) {
    if (button == clicked) return result;
  }
  return escape;
}

std::optional<std::string> QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
  if (ending_) return std::nullopt;
  bool ok = false;
  const QString text = QInputDialog::getText(Owner(), Title(title), Q(prompt), QLineEdit::Normal, Q(defaultText), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

std::optional<std::string> QtDialogs::OpenFile(const FileDialogRequest& request) {
  if (ending_) return std::nullopt;
  const QString path = QFileDialog::getOpenFileName(Owner(), Q(request.title), Q(request.initialFolder),
                                                    Q(QtFileFilter(request.filter)));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

std::optional<std::string> QtDialogs::SaveFile(const FileDialogRequest& request) {
  if (ending_) return std::nullopt;
  QFileDialog dialog(Owner(), Q(request.title), Q(request.initialFolder), Q(QtFileFilter(request.filter)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(Q(request.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::PickFolder(const std::string& title, const std::string& initialFolder) {
  if (ending_) return std::nullopt;
  const QString dir = QFileDialog::getExistingDirectory(Owner(), Q(title), Q(initialFolder));
  if (dir.isEmpty()) return std::nullopt;
  return dir.toStdString();
}

}  // namespace korvalin
