#include "mp3/frmPlayList.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <optional>

#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "mp3/HeaderView.h"
#include "mp3/Id3v1Tag.h"
#include "mp3/StagedTagWrite.h"
#include "settings/PathHelpers.h"
#include "settings/Settings.h"

namespace korvalin {
namespace {

constexpr int32_t kDesignWidth = 11400;  // twips
constexpr int32_t kDesignHeight = 7200;
constexpr int64_t kNoDataBytes = 99;  // a file this short holds no MP3 worth reading
constexpr const char* kNoData = "File contains no data";
constexpr const char* kCannotPlay = "No sound device could play this file, or it is not an MP3 file: ";

// The file's length in bytes; nothing when it cannot be had (no such file, say), with the reason.
std::optional<int64_t> FileLength(const std::string& path, std::string* why = nullptr) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (why) *why = ErrorFromErrno(errno).Description();
    return std::nullopt;
  }
  return static_cast<int64_t>(st.st_size);
}

std::string Describe(const std::exception& e) {
  if (const auto* raised = dynamic_cast<const RaisedError*>(&e)) return raised->Description();
  return e.what();
}

}  // namespace

frmPlayList::frmPlayList(Services& services, CollectionTree& collection, JobEvents& jobs)
    : services_(services), collection_(collection) {
  jobConnections_ = CloseOnJobs(jobs, [this] {
    if (window.Loaded()) IgnoreErrors([&] { Form_Unload(); });
  });
  window.Move(0, 0, kDesignWidth, kDesignHeight);
  List3.SetVisible(false);
  Text5.SetToolTipText("Currently editing this file");
  Command6.SetToolTipText("Remove File from PlayList");
  Command11.SetToolTipText("Play");
  Command11.SetPicture("play.svg");
  Command12.SetToolTipText("Stop");
  Command12.SetPicture("stop.svg");
  for (std::size_t i = 0; i < Text4Labels.size(); ++i) Text4Labels[i].SetCaption(TagBoxCaptions()[i]);

  List2.OnClick = [this] { List2_Click(); };
  cmdHdr1.OnClick = [this] { cmdHdr1_Click(); };
  cmdHdr2.OnClick = [this] { cmdHdr2_Click(); };
  cmdTag.OnClick = [this] { cmdTag_Click(); };
  Command20.OnClick = [this] { Command20_Click(); };
  Command6.OnClick = [this] { Command6_Click(); };
  Command10.OnClick = [this] { Command10_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command11.OnClick = [this] { Command11_Click(); };
  Command12.OnClick = [this] { Command12_Click(); };
  window.OnUnload = [this] { Form_Unload(); };
}

frmPlayList::~frmPlayList() {
  if (player_) player_->Stop();
}

// --- life --------------------------------------------------------------------------------------

void frmPlayList::Form_Load() {
  if (window.Loaded()) return;
  IgnoreErrors([&] { player_ = services_.makeMp3Player(); },
               [&] {
                 const auto& screen = services_.screen;
                 window.Move((screen.Width() - window.Width()) / 2, (screen.Height() - window.Height()) / 2,
                             window.Width(), window.Height());
               },
               [&] { LoadPlaylist(); });
  window.SetLoaded(true);
}

void frmPlayList::Show() {
  Form_Load();
  window.SetVisible(true);
}

void frmPlayList::Form_Unload() {
  IgnoreErrors([&] {
    if (player_) player_->Stop();
    player_.reset();
  });
  // Unloading ends the window's controls; a later load shows the stored playlist afresh.
  List2.Clear();
  List3.Clear();
  List1.Clear();
  Text5.SetText("");
  ClearTagBoxes(8);
  info = Mp3Info{};
  window.SetVisible(false);
  window.SetLoaded(false);
}

// --- the stored playlist ------------------------------------------------------------------------

void frmPlayList::SavePlaylistValue(const std::string& key, const std::string& value) {
  services_.store.save(kSettingsApplication, kPlaylistSection, key, value);
}

void frmPlayList::LoadPlaylist() {
  const double stored = Val(services_.store.get(kSettingsApplication, kPlaylistSection, kPlaylistCount, "0"));
  const auto count = static_cast<int32_t>(std::fmin(std::floor(stored), kPlaylistLimit));
  for (int32_t k = 1; k <= count; ++k) {
    const std::string entry = services_.store.get(kSettingsApplication, kPlaylistSection, std::to_string(k), "0");
    List2.AddItem(entry == "0" ? "Empty" : entry);
  }
}

void frmPlayList::Command20_Click() {
  if (Trim(Text5.Text()).empty()) return;
  const std::string current = Text5.Text();
  for (const auto& line : List2.Items()) {
    if (line == current) return;
  }
  IgnoreErrors([&] { List2.AddItem(current); },
               [&] { SavePlaylistValue(kPlaylistCount, std::to_string(List2.ListCount())); },
               [&] { SavePlaylistValue(std::to_string(List2.ListCount()), current); },
               [&] { Text5.SetText(""); });
}

void frmPlayList::RebuildPlaylist() { RemoveAndRebuild(List2.ListIndex()); }

void frmPlayList::RemoveAndRebuild(int32_t index) {
  IgnoreErrors([&] { List2.RemoveItem(index); },
               [&] {
                 List3.Clear();
                 for (const auto& line : List2.Items()) {
                   const std::string last3 = Right(line, 3);
                   if (last3 == "mp3" || last3 == "MP3") List3.AddItem(line);
                 }
                 List2.Clear();
               },
               [&] { SavePlaylistValue(kPlaylistCount, "0"); });
  for (const auto& line : List3.Items()) {
    IgnoreErrors([&] { List2.AddItem(line); },
                 [&] { SavePlaylistValue(kPlaylistCount, std::to_string(List2.ListCount())); },
                 [&] { SavePlaylistValue(std::to_string(List2.ListCount()), line); });
  }
  List3.Clear();
}

// --- the header view -----------------------------------------------------------------------------

void frmPlayList::ClearTagBoxes(int upTo) {
  for (int i = 1; i <= upTo; ++i) Text4(i).SetText("");
}

void frmPlayList::List2_Click() {
  if (List2.ListCount() == 0 || List2.ListIndex() < 0) return;
  const std::string line = List2.List(List2.ListIndex());
  IgnoreErrors([&] { Text5.SetText(Trim(line)); }, [&] { cmdHdr2_Click(); },
               [&] {
                 if (Check11.Value() != controls::CheckBox::Checked) return;
                 if (!collection_.IsAvailable(line)) collection_.Cmaddfile2(line);
               });
}

void frmPlayList::cmdHdr1_Click() {
  services_.screen.SetMousePointer(controls::MousePointer::Hourglass);
  IgnoreErrors([&] {
    FileDialogRequest request;
    request.title = "Open";
    request.filter = "MP3|*.mp3|All files|*.*";
    request.initialFolder = Text5.Text();
    const auto chosen = services_.dialogs.OpenFile(request);
    if (!chosen || chosen->empty()) return;
    Text5.SetText(*chosen);
    if (const auto length = FileLength(*chosen)) Text4(8).SetText(LengthText(*length));
    cmdHdr2_Click();
  });
  services_.screen.SetMousePointer(controls::MousePointer::Default);
}

void frmPlayList::cmdHdr2_Click() {
  if (Trim(Text5.Text()).empty()) return;
  const std::string file = Text5.Text();
  IgnoreErrors([&] { List1.Clear(); }, [&] { ClearTagBoxes(6); });
  std::string why;
  const auto length = FileLength(file, &why);
  if (!length) {
    // Nothing to analyse: say why once, rather than show an empty view.
    IgnoreErrors([&] { services_.dialogs.MsgBox("Cannot read " + file + ": " + why, MsgBoxButtons::OK, MsgBoxIcon::Exclamation); });
    return;
  }
  if (*length <= kNoDataBytes) {
    IgnoreErrors([&] { services_.dialogs.MsgBox(kNoData); }, [&] { Text5.SetText(""); });
    return;
  }
  IgnoreErrors([&] { Text4(8).SetText(LengthText(*length)); },
               [&] {
                 try {
                   GetMp3Info(file, info);
                 } catch (const std::exception& e) {
                   info = Mp3Info{};
                   info.problem = Describe(e);
                 }
               },
               [&] { List1.Clear(); }, [&] { services_.loop.Yield(); },
               [&] {
                 for (auto& line : HeaderViewLines(info)) List1.AddItem(std::move(line));
               },
               [&] {
                 const auto texts = TagBoxTexts(info);
                 for (std::size_t i = 0; i < texts.size(); ++i) Text4(static_cast<int>(i) + 1).SetText(texts[i]);
               });
}

// --- file commands -------------------------------------------------------------------------------

void frmPlayList::cmdTag_Click() {
  if (Trim(Text5.Text()).empty()) return;
  const std::string file = Text5.Text();
  const Id3v1Fields fields{Text4(2).Text(), Text4(1).Text(), Text4(3).Text(),
                           Text4(4).Text(), Text4(5).Text(), Text4(6).Text()};
  try {
    WriteId3v1TagStaged(file, fields);
  } catch (const std::exception& e) {
    // The file is as it was; the user must not take the tag for written.
    IgnoreErrors([&] {
      services_.dialogs.MsgBox("The tag was not written to " + file + ": " + Describe(e), MsgBoxButtons::OK,
                               MsgBoxIcon::Exclamation);
    });
    return;
  }
  // The header view shows the file as it is now: what was stored (texts cut to their field
  // sizes, the genre as a number) and that it has a tag.
  cmdHdr2_Click();
}

void frmPlayList::Command10_Click() {
  if (Trim(Text5.Text()).empty()) return;
  const std::string file = Text5.Text();
  const auto length = FileLength(file);
  Text4(8).SetText(length ? std::to_string(*length) : std::string());
  if (!length || *length == 0) {
    services_.dialogs.MsgBox(kNoData);
    IgnoreErrors([&] { collection_.DeleteAndUnlist(file); });
    return;
  }
  if (services_.dialogs.MsgBox("Are you sure you want to delete this file?", MsgBoxButtons::YesNoCancel,
                               MsgBoxIcon::Exclamation, "Delete File") != MsgBoxResult::Yes) {
    return;
  }
  try {
    // Through the collection, so that the main window's tree and lists let go of it too.
    collection_.DeleteAndUnlist(file);
  } catch (const std::exception& e) {
    // The file is still there: keep it listed, and say so rather than report it deleted.
    IgnoreErrors([&] {
      services_.dialogs.MsgBox(Trim(file) + " could not be deleted: " + Describe(e), MsgBoxButtons::OK,
                               MsgBoxIcon::Exclamation, "Delete File");
    });
    return;
  }
  IgnoreErrors([&] { services_.loop.Yield(); }, [&] { services_.dialogs.MsgBox(Trim(file) + " has been Deleted"); });
  // Only the deleted file's own line leaves the playlist; the rebuild runs all the same.
  int32_t match = -1;
  for (int32_t i = 0; i < List2.ListCount(); ++i) {
    if (List2.List(i) == file) {
      match = i;
      break;
    }
  }
  RemoveAndRebuild(match);
  IgnoreErrors([&] { Text5.SetText(""); }, [&] { ClearTagBoxes(7); }, [&] { List1.Clear(); },
               [&] { Text4(8).SetText(""); });
}

void frmPlayList::Command2_Click() {
  if (Trim(Text5.Text()).empty()) return;
  const std::string old = Text5.Text();
  FileDialogRequest request;
  request.title = "Rename File";
  request.filter = "MP3|*.mp3|All files|*.*";
  request.defaultExtension = "mp3";
  try {
    SplitPathName(old);
    request.initialFolder = LastFolder + FileTitleNoExt(old);
  } catch (const std::exception&) {
    request.initialFolder = old;
  }
  const auto chosen = services_.dialogs.SaveFile(request);
  if (!chosen || chosen->empty()) return;
  const std::string& renamed = *chosen;
  if (FileLength(renamed) &&
      services_.dialogs.MsgBox("The filename you picked already exists. Do you want to overwrite the existing file?",
                               MsgBoxButtons::YesNoCancel, MsgBoxIcon::Exclamation, renamed) != MsgBoxResult::Yes) {
    return;
  }
  if (std::rename(old.c_str(), renamed.c_str()) != 0) {
    const std::string why = ErrorFromErrno(errno).Description();
    IgnoreErrors([&] {
      services_.dialogs.MsgBox(old + " could not be renamed to " + renamed + ": " + why, MsgBoxButtons::OK,
                               MsgBoxIcon::Exclamation, "Rename File");
    });
    return;
  }
  // The stored entries follow the file too, so the next load does not list a name that is gone.
  for (int32_t i = 0; i < List2.ListCount(); ++i) {
    if (List2.List(i) != old) continue;
    IgnoreErrors([&] { List2.SetList(i, renamed); }, [&] { SavePlaylistValue(std::to_string(i + 1), renamed); });
  }
  // So does the main window's collection: the old name leaves it, the new one takes its place
  // (a file the user overwrote leaves it first, so it is listed once).
  IgnoreErrors([&] {
    collection_.Unlist(renamed);
    if (collection_.Unlist(old)) collection_.Cmaddfile2(renamed);
  });
  Text5.SetText(renamed);
  Command20_Click();
}

// --- playback ------------------------------------------------------------------------------------

void frmPlayList::Command11_Click() {
  // The chosen line plays; with none chosen, the file being edited.
  const std::string file =
      Trim(List2.ListIndex() >= 0 && List2.ListIndex() < List2.ListCount() ? List2.List(List2.ListIndex()) : Text5.Text());
  if (file.empty() || !player_) return;
  std::string why;
  if (!FileLength(file, &why)) {
    IgnoreErrors([&] { services_.dialogs.MsgBox("Cannot play " + file + ": " + why, MsgBoxButtons::OK, MsgBoxIcon::Exclamation); });
    return;
  }
  IgnoreErrors([&] { player_->SetSourceFile(file); }, [&] { player_->Play(); });
  // The player starts its output before it returns: not busy now means nothing plays.
  if (!player_->Busy()) {
    IgnoreErrors([&] { services_.dialogs.MsgBox(kCannotPlay + file, MsgBoxButtons::OK, MsgBoxIcon::Exclamation); });
  }
}

void frmPlayList::Command12_Click() {
  if (player_) IgnoreErrors([&] { player_->Stop(); });
}

}  // namespace korvalin
