#include "finder/ResultCommands.h"

#include <sys/stat.h>

#include "common/FileKind.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "desktop/DestroyFile.h"
#include "finder/frmsearch.h"

namespace korvalin {
namespace {

constexpr int16_t kRightButton = 2;

bool StillThere(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

bool OpensResultMenu(const std::string& selectedEntry) {
  return AudioFileKindOf(selectedEntry) != AudioFileKind::None;
}

void frmsearch::ConnectResultCommands() {
  mnupopup.SetVisible(false);
  lstfiles.OnMouseDown = [this](int16_t button, int16_t shift, int32_t x, int32_t y) {
    lstfiles_MouseDown(button, shift, x, y);
  };
  mnuSeelectfile.OnClick = [this] { mnuSeelectfile_Click(); };
  mnuRemoveFile.OnClick = [this] { mnuRemoveFile_Click(); };
  mnuDelete.OnClick = [this] { mnuDelete_Click(); };
  mnuClose.OnClick = [this] { mnuClose_Click(); };
}

void frmsearch::lstfiles_MouseDown(int16_t button, int16_t, int32_t, int32_t) {
  if ((button & kRightButton) == 0 || lstfiles.ListIndex() < 0) return;
  if (OpensResultMenu(lstfiles.List(lstfiles.ListIndex()))) window.PopupMenu(mnupopup);
}

void frmsearch::mnuSeelectfile_Click() {
  if (lstfiles.ListIndex() < 0 || collection_ == nullptr) return;
  const std::string path = lstfiles.List(lstfiles.ListIndex());
  IgnoreErrors([&] { collection_->Cmaddfile2(path); }, [&] { collection_->showfiles3(path); });
}

void frmsearch::mnuRemoveFile_Click() {
  IgnoreErrors([&] { lstfiles.RemoveItem(lstfiles.ListIndex()); });
}

void frmsearch::mnuDelete_Click() {
  const int32_t index = lstfiles.ListIndex();
  if (index < 0) return;
  const std::string path = lstfiles.List(index);
  if (dialogs_.MsgBox("Are you sure you want to delete this file?", MsgBoxButtons::YesNoCancel, MsgBoxIcon::Exclamation,
                      "Delete File") != MsgBoxResult::Yes) {
    return;
  }
  std::string why;
  try {
    p_DestroyFile(path, loop_);
  } catch (const std::exception& e) {
    why = e.what();
  }
  // The list must never claim a file is gone that is still on disk: a file that was not
  // deleted keeps its entry, and the user is told why.
  if (!why.empty() && StillThere(path)) {
    IgnoreErrors([&] {
      dialogs_.MsgBox("The file was not deleted:\n" + path + "\n" + why, MsgBoxButtons::OK, MsgBoxIcon::Exclamation,
                      "Delete File");
    });
    return;
  }
  IgnoreErrors([&] { loop_.Yield(); }, [&] { Unlist(index, path); });
}

void frmsearch::Unlist(int32_t index, const std::string& path) {
  if (lstfiles.List(index) != path) {
    const auto& items = lstfiles.Items();
    index = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == path) {
        index = static_cast<int32_t>(i);
        break;
      }
    }
    if (index < 0) return;  // taken off already
  }
  lstfiles.RemoveItem(index);
}

}  // namespace korvalin
