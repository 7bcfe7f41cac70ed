// "Tags and Names": which tag a rip writes, whether files are named from the disc information,
// the template, the FAT-safe box, and a preview of the whole disc's names.

#include <iterator>

#include "common/RaisedError.h"
#include "fileout/NameTemplate.h"
#include "settings/FrmPrefs.h"
#include "settings/TagSettings.h"

namespace korvalin {
namespace {

constexpr int16_t kTicked = controls::CheckBox::Checked;
constexpr int16_t kCleared = controls::CheckBox::Unchecked;

// The tag list's entries, in order, and the version each stands for.
constexpr int kTagVersions[] = {3, 4, 0};

}  // namespace

void FrmPrefs::ShowTagAndNameSettings() {
  quiet_ = true;  // showing the stored values chooses nothing
  struct Loud {
    bool& quiet;
    ~Loud() { quiet = false; }
  } loud{quiet_};
  int32_t entry = 0;
  for (int32_t i = 0; i < static_cast<int32_t>(std::size(kTagVersions)); ++i) {
    if (settings_.TagVersion == kTagVersions[i]) entry = i;
  }
  cmbTagVersion.SetListIndex(entry);
  chkNameFromTags.SetValue(settings_.NameFromTags != 0 ? kTicked : kCleared);
  txtNameTemplate.SetText(settings_.NameTemplate.empty() ? kDefaultNameTemplate : settings_.NameTemplate);
  chkFatSafeNames.SetValue(settings_.FatSafeNames != 0 ? kTicked : kCleared);
  ShowNamePreview();
}

void FrmPrefs::cmbTagVersion_Click() {
  const int32_t index = cmbTagVersion.ListIndex();
  if (index < 0 || index >= static_cast<int32_t>(std::size(kTagVersions))) return;
  SaveTagVersion(services_.store, settings_, kTagVersions[index]);
}

void FrmPrefs::chkNameFromTags_Click() {
  SaveFlag(settingkey::NameFromTags, chkNameFromTags, settings_.NameFromTags);
  ShowNamePreview();
}

// Saved as typed; a blank template names files with the default one.
void FrmPrefs::txtNameTemplate_Change() {
  settings_.NameTemplate = txtNameTemplate.Text();
  SaveSetting(services_.store, settingkey::NameTemplate, settings_.NameTemplate);
  ShowNamePreview();
}

void FrmPrefs::chkFatSafeNames_Click() {
  SaveFlag(settingkey::FatSafeNames, chkFatSafeNames, settings_.FatSafeNames);
  ShowNamePreview();
}

void FrmPrefs::ShowNamePreview() {
  std::vector<TrackTags> disc;
  IgnoreErrors([&] {
    if (KnownDiscTags) disc = KnownDiscTags();
  });
  const bool known = !disc.empty();
  if (!known) disc = ExampleDisc();
  std::string extension = ".mp3";
  IgnoreErrors([&] {
    if (PreviewExtension) extension = PreviewExtension();
  });
  const std::string whose = known ? "The names of the disc in the drive" : "The names of an example disc";
  lblNamePreview.SetCaption(whose + (settings_.NameFromTags != 0 ? ":" : ", once turned on:"));
  lstNamePreview.Clear();
  for (auto& name : NamesForDisc(settings_.NameTemplate, disc, extension, settings_.FatSafeNames != 0)) {
    lstNamePreview.AddItem(std::move(name));
  }
}

}  // namespace korvalin
