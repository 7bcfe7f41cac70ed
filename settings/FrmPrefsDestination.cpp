// "Create": settles the destination folder, from the stored setting or from a new folder the
// user names, and creates it.

#include "common/RaisedError.h"
#include "platform/UserFolders.h"
#include "settings/FrmPrefs.h"
#include "settings/PathHelpers.h"

namespace korvalin {
namespace {

constexpr const char* kDefaultName = "WAVFiles";

struct Folder {
  std::string parent;
  std::string name;
  std::string Path() const { return parent + "/" + name; }
};

// Splits at the last "/". A parent left empty is the root: "/Rips" is a folder of "/".
Folder Split(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

std::string FrmPrefs::DefaultParent() const { return Split(DefaultDestination(services_.programFolder)).parent; }

void FrmPrefs::Co111_Click() {
  const std::string before = settings_.DecodePath;
  try {
    SettleDestination();
  } catch (const std::exception&) {
    AskForFolderAfterError();
  }
  if (settings_.DecodePath != before && OnDestinationChosen) IgnoreErrors([&] { OnDestinationChosen(); });
}

void FrmPrefs::SettleDestination() {
  Folder folder;
  if (Check2.Value() != controls::CheckBox::Checked) {
    const std::string stored = services_.store.get(kSettingsApplication, kSettingsSection, settingkey::DecodePath, "");
    if (stored.find('/') == std::string::npos) {
      folder = Split(DefaultDestination(services_.programFolder));
    } else {
      folder = Split(stored);
      if (folder.name.empty()) folder.name = kDefaultName;
    }
  } else {
    folder.parent = Text9.Text();
    if (!folder.parent.empty() && folder.parent.back() == '/') folder.parent.pop_back();
    if (Text10.Text().empty()) {
      services_.dialogs.MsgBox("Enter a name for the Destination directory");
      return;
    }
    folder.name = Text10.Text();
  }

  const std::string path = folder.Path();
  Text9.SetText(path);
  // The path keeps its case: it is used to reach files.
  settings_.DecodePath = path;
  Text10.SetText(folder.name);
  if (MakeDirectories(path, services_.dialogs, services_.screen)) {
    SaveSetting(services_.store, settingkey::DecodePath, path);
    services_.loop.Yield();
  } else {
    services_.dialogs.MsgBox("Error in creating the path " + path +
                             "  Create a new Destination path using the selection controls");
  }
  Picture6.SetVisible(false);
  Check2.SetValue(controls::CheckBox::Unchecked);
}

void FrmPrefs::AskForFolderAfterError() {
  const auto answer = services_.dialogs.InputBox(
      "Error creating a new directory. Enter the name of the File directory you would like to create ");
  // No name, no folder: the destination stays as it is.
  if (answer && !answer->empty()) {
    const std::string path = DefaultParent() + "/" + *answer;
    IgnoreErrors([&] { Text10.SetText(*answer); },
                 [&] {
                   // Only a folder that exists becomes the stored destination.
                   if (MakeDirectories(path, services_.dialogs, services_.screen)) {
                     SaveSetting(services_.store, settingkey::DecodePath, path);
                   }
                 },
                 [&] { Text9.SetText(path); }, [&] { settings_.DecodePath = path; });
  }
  IgnoreErrors([&] { Check2.SetValue(controls::CheckBox::Unchecked); }, [&] { services_.loop.Yield(); });
}

}  // namespace korvalin
