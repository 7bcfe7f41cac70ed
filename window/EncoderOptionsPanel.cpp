#include "window/EncoderOptionsPanel.h"

#include <algorithm>

#include "common/Numeric.h"
#include "common/RaisedError.h"

namespace korvalin {

namespace {
constexpr int32_t kMargin = 90;
constexpr int32_t kContentWidth = 2820;
constexpr int32_t kTrackListsTop = 2130;  // below the option boxes
constexpr int32_t kListGap = 90;
constexpr int32_t kMinTrackListHeight = 735;  // three lines of a list
}  // namespace

EncoderOptionsPanel::EncoderOptionsPanel(Settings& settings, SettingsStore& store, const std::vector<std::string>& bitrates,
                                         const std::vector<std::string>& qualities)
    : settings_(settings), store_(store) {
  outputChoice_.Add(optMP3);
  outputChoice_.Add(optWAV);
  Place();
  for (const auto& entry : bitrates) cmbBitrate.AddItem(entry);
  for (const auto& entry : qualities) cmbQuality.AddItem(entry);
  cmbBitrate.OnClick = [this] { cmbBitrate_Click(); };
  cmbQuality.OnClick = [this] { cmbQuality_Click(); };
  Chk2Stage.OnClick = [this] { Chk2Stage_Click(); };
}

// Design places inside the panel, in twips: two columns, the labels and left boxes at 90, the
// lists and right boxes at 1500.
void EncoderOptionsPanel::Place() {
  lblBitrate.Move(90, 60, 1350, 255);
  cmbBitrate.Move(1500, 30, 1410, 315);
  lblQuality.Move(90, 420, 1350, 255);
  cmbQuality.Move(1500, 390, 1410, 315);
  chkCRC.Move(90, 780, 1350, 285);
  chkPrivate.Move(1500, 780, 1410, 285);
  chkOriginal.Move(90, 1080, 1350, 285);
  chkCopyright.Move(1500, 1080, 1410, 285);
  optMP3.Move(90, 1440, 1350, 285);
  optWAV.Move(1500, 1440, 1410, 285);
  Chk2Stage.Move(90, 1770, 2820, 285);
}

void EncoderOptionsPanel::ShowEncoding() {
  IgnoreErrors([&] { cmbQuality.SetListIndex(settings_.EncodingQuality); },
               [&] { cmbBitrate.SetListIndex(settings_.EncodingBitrate); });
}

void EncoderOptionsPanel::FillJobOptions(JobOptions& job) const {
  job.toMp3 = optMP3.Value();
  job.oneStep = Chk2Stage.Value();
  job.bitrate = Val(cmbBitrate.Text());
  job.qualityIndex = cmbQuality.ListIndex();
  job.privateBox = chkPrivate.Value();
  job.crcBox = chkCRC.Value();
  job.copyrightedBox = chkCopyright.Value();
  job.originalBox = chkOriginal.Value();
}

// A chosen bitrate or quality is the one in use at once: kept in the settings and stored, then
// announced; a failed store does not keep the others from following the list.
void EncoderOptionsPanel::cmbBitrate_Click() {
  IgnoreErrors([&] {
    settings_.EncodingBitrate = static_cast<int16_t>(cmbBitrate.ListIndex());
    SaveSetting(store_, settingkey::EncodingBitrate, settings_.EncodingBitrate);
  });
  IgnoreErrors([&] { controls::Fire(OnEncodingStored); });
}

void EncoderOptionsPanel::cmbQuality_Click() {
  IgnoreErrors([&] {
    settings_.EncodingQuality = static_cast<int16_t>(cmbQuality.ListIndex());
    SaveSetting(store_, settingkey::EncodingQuality, settings_.EncodingQuality);
  });
  IgnoreErrors([&] { controls::Fire(OnEncodingStored); });
}

void EncoderOptionsPanel::Chk2Stage_Click() {
  Chk2Stage.SetCaption(Chk2Stage.Value() == controls::CheckBox::Checked ? "1 Step Extraction" : "2 Step Extraction");
}

void EncoderOptionsPanel::ArrangeTrackLists(int32_t panelHeight, controls::ListBox& first, controls::ListBox& second) {
  const int32_t room = std::max(0, panelHeight - kTrackListsTop - kMargin - kListGap);
  const int32_t each = std::max(kMinTrackListHeight, room / 2);
  first.Move(kMargin, kTrackListsTop, kContentWidth, each);
  second.Move(kMargin, kTrackListsTop + each + kListGap, kContentWidth, each);
}

int32_t EncoderOptionsPanel::MinimumHeight() { return kTrackListsTop + 2 * kMinTrackListHeight + kListGap + kMargin; }

}  // namespace korvalin
