#include "settings/FrmPrefs.h"

#include <initializer_list>
#include <iterator>
#include <utility>

#include "common/Numeric.h"
#include "common/Text.h"
#include "common/RaisedError.h"
#include "settings/AccuracySettings.h"
#include "settings/DiscInfoSettings.h"

namespace korvalin {
namespace {

constexpr int32_t kDesignWidth = 7800;  // twips
constexpr int32_t kDesignHeight = 5400;

constexpr const char* kBitrates[] = {"32", "40", "48", "56", "64", "80", "96", "112", "128", "160", "192", "224", "256", "320"};
constexpr const char* kFormats[] = {"44.100Hz, 16bit Mono, 86k/sec", "44.100Hz, 16bit Stereo, 172k/sec"};

constexpr int16_t kTicked = controls::CheckBox::Checked;
constexpr int16_t kCleared = controls::CheckBox::Unchecked;

int16_t Flag(const controls::CheckBox& box) { return box.Value() == kTicked ? 1 : 0; }

// The sources list: what each entry shows and the setting it stands for.
constexpr std::pair<const char*, const char*> kSourceOrders[] = {{"MusicBrainz, then gnudb", "MusicBrainz,gnudb"},
                                                                 {"gnudb, then MusicBrainz", "gnudb,MusicBrainz"},
                                                                 {"MusicBrainz only", "MusicBrainz"},
                                                                 {"gnudb only", "gnudb"}};

constexpr const char* kAddressNote = "An address begins with http:// or https://; the last good one is kept.";

constexpr const char* kReadOffsetRefused = "Enter a number of samples from -2000 to +2000; the last good one is kept.";

constexpr int32_t kThresholdDigits = 5;  // 32767, the largest threshold the setting holds

}  // namespace

bool IsThresholdText(const std::string& text) {
  if (text.size() > static_cast<std::size_t>(kThresholdDigits)) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return text.empty() || std::stol(text) <= 32767;
}

FrmPrefs::FrmPrefs(Services& services, Settings& settings, std::vector<std::string> qualityEntries)
    : mixer(services.mixer, services.dialogs),
      services_(services),
      settings_(settings),
      qualityEntries_(std::move(qualityEntries)) {
  window.Move(0, 0, kDesignWidth, kDesignHeight);
  Check1.SetToolTipText("Mute (Silent copy)");
  for (controls::TextBox* box : {&Text7, &Text8}) {
    box->SetMaxLength(kThresholdDigits);
    box->SetToolTipText("Megabytes, 0 to 32767");
  }
  for (const auto& entry : qualityEntries_) Combo1.AddItem(entry);
  for (const char* bitrate : kBitrates) Combo2.AddItem(bitrate);
  Picture6.SetVisible(false);
  for (const auto& [shown, setting] : kSourceOrders) cmbSources.AddItem(shown);
  txtCountry.SetMaxLength(2);
  txtReadOffset.SetMaxLength(5);  // a sign and four digits
  for (const char* version : {"ID3v2.3", "ID3v2.4", "No tags"}) cmbTagVersion.AddItem(version);
  ConnectHandlers();
}

std::function<void()> FrmPrefs::Handler(void (FrmPrefs::*handler)()) {
  return [this, handler] {
    if (!quiet_) (this->*handler)();
  };
}

void FrmPrefs::ConnectHandlers() {
  Check6.OnClick = Handler(&FrmPrefs::Check6_Click);
  Check7.OnClick = Handler(&FrmPrefs::Check7_Click);
  Text7.OnChange = [this] {
    if (!quiet_) KeepStorable(Text7, acceptedWarning_);
  };
  Text8.OnChange = [this] {
    if (!quiet_) KeepStorable(Text8, acceptedStop_);
  };
  Text7.OnKeyUp = [this](int16_t, int16_t) {
    if (!quiet_) Text7_KeyUp();
  };
  Text8.OnKeyUp = [this](int16_t, int16_t) {
    if (!quiet_) Text8_KeyUp();
  };
  Command1.OnClick = Handler(&FrmPrefs::Command1_Click);
  Command3.OnClick = Handler(&FrmPrefs::Command3_Click);
  // A fixed list changes only by a choice, which is its click.
  cbxFormat.OnClick = Handler(&FrmPrefs::cbxFormat_Change);
  Check3.OnClick = Handler(&FrmPrefs::Check3_Click);
  Check11.OnClick = Handler(&FrmPrefs::Check11_Click);
  Check5.OnClick = Handler(&FrmPrefs::Check5_Click);
  Check4.OnClick = Handler(&FrmPrefs::Check4_Click);
  Check1.OnClick = Handler(&FrmPrefs::Check1_Click);
  Check10.OnClick = Handler(&FrmPrefs::Check10_Click);
  Combo1.OnClick = Handler(&FrmPrefs::Combo1_Click);
  Combo2.OnClick = Handler(&FrmPrefs::Combo2_Click);
  Dir2.OnChange = Handler(&FrmPrefs::Dir2_Change);
  Check2.OnClick = Handler(&FrmPrefs::Check2_Click);
  Co111.OnClick = Handler(&FrmPrefs::Co111_Click);
  chkSecureReading.OnClick = Handler(&FrmPrefs::chkSecureReading_Click);
  txtReadOffset.OnChange = Handler(&FrmPrefs::txtReadOffset_Change);
  chkLookupOnline.OnClick = Handler(&FrmPrefs::chkLookupOnline_Click);
  cmbSources.OnClick = Handler(&FrmPrefs::cmbSources_Click);
  txtCountry.OnChange = Handler(&FrmPrefs::txtCountry_Change);
  txtMusicBrainzUrl.OnChange = Handler(&FrmPrefs::txtMusicBrainzUrl_Change);
  txtGnudbUrl.OnChange = Handler(&FrmPrefs::txtGnudbUrl_Change);
  cmbTagVersion.OnClick = Handler(&FrmPrefs::cmbTagVersion_Click);
  chkNameFromTags.OnClick = Handler(&FrmPrefs::chkNameFromTags_Click);
  txtNameTemplate.OnChange = Handler(&FrmPrefs::txtNameTemplate_Change);
  chkFatSafeNames.OnClick = Handler(&FrmPrefs::chkFatSafeNames_Click);
  // The disc may have become known since the tab was last shown.
  SSTab1.OnClick = [this] {
    if (window.Loaded()) ShowNamePreview();
  };
  window.OnUnload = [this] { Form_Unload(); };
}

void FrmPrefs::RestoreDesignState() {
  quiet_ = true;
  acceptedWarning_ = acceptedStop_ = "100";
  IgnoreErrors([&] { SSTab1.SetTab(0); }, [&] { Check6.SetValue(kCleared); }, [&] { Text7.SetText("100"); },
               [&] { Check7.SetValue(kCleared); }, [&] { Text8.SetText("100"); }, [&] { Text6.SetText(""); },
               [&] { lblDestinationRoot.SetCaption(""); }, [&] { Label4.SetCaption(""); },
               [&] { cbxFormat.Clear(); }, [&] { Check3.SetValue(kCleared); },
               [&] {
                 Check1.SetValue(kTicked);
                 Check1.SetCaption("Mute");
               },
               [&] { Check11.SetValue(kTicked); },
               [&] {
                 Check10.SetValue(kTicked);
                 Check10.SetCaption("Encode to MP3 after extracting");
               },
               [&] { Check5.SetValue(kCleared); }, [&] { Check4.SetValue(kCleared); },
               [&] { Combo1.SetListIndex(settings_.EncodingQuality); },
               [&] { Combo2.SetListIndex(settings_.EncodingBitrate); },
               [&] { Text9.SetText(""); }, [&] { Check2.SetValue(kCleared); }, [&] { Picture6.SetVisible(false); },
               [&] { Text10.SetText(""); }, [&] { chkSecureReading.SetValue(kCleared); },
               [&] { txtReadOffset.SetText("0"); }, [&] { lblReadOffsetRefused.SetCaption(""); },
               [&] { chkLookupOnline.SetValue(kTicked); }, [&] { lblAddressNote.SetCaption(""); });
  quiet_ = false;
}

// --- life --------------------------------------------------------------------------------------

void FrmPrefs::Form_Load() {
  if (window.Loaded()) return;
  RestoreDesignState();
  window.SetLoaded(true);
  const controls::Screen& screen = services_.screen;
  IgnoreErrors([&] {
    window.Move((screen.Width() - window.Width()) / 2, (screen.Height() - window.Height()) / 2, window.Width(),
                window.Height());
  });
  IgnoreErrors([&] { mixer.OpenAndPrepare(); });
  // Each box whose setting differs from its initial state runs its click action here.
  IgnoreErrors([&] { Check6.SetValue(settings_.HDWarning); },
               [&] { ShowThreshold(Text7, acceptedWarning_, settings_.HDWarningNo); },
               [&] { Check7.SetValue(settings_.HDstopdecoding); },
               [&] { ShowThreshold(Text8, acceptedStop_, settings_.HDStopNo); },
               [&] { Text9.SetText(settings_.DecodePath); },
               [&] { Check4.SetValue(settings_.DesktopIcon); },
               [&] { Check5.SetValue(settings_.MinimizeOnstart); },
               [&] { Check3.SetValue(settings_.DeleteWAV); },
               [&] { Check11.SetValue(settings_.ShowFullPath); },
               [&] { Check10.SetValue(settings_.EncodeAfterExtracting); },
               [&] { Check1.SetValue(settings_.MuteButton); },
               [&] { chkSecureReading.SetValue(settings_.SecureReading != 0 ? kTicked : kCleared); });
  IgnoreErrors([&] {
    quiet_ = true;  // showing the stored offset stores nothing
    txtReadOffset.SetText(ReadOffsetText(settings_.ReadOffset));
    quiet_ = false;
  });
  IgnoreErrors([&] { ShowDiscInfoSettings(); });
  IgnoreErrors([&] { ShowTagAndNameSettings(); });
  IgnoreErrors([&] {
    quiet_ = true;  // showing the stored format is no choice to save
    struct Loud {
      bool& quiet;
      ~Loud() { quiet = false; }
    } loud{quiet_};
    for (const char* format : kFormats) cbxFormat.AddItem(format);
    cbxFormat.SetListIndex(settings_.AudioFormat);
  });
  IgnoreErrors([&] { Command3_Click(); });
  IgnoreErrors([&] { Co111_Click(); });
  // The folder tree shows the destination settled; showing it chooses nothing.
  quiet_ = true;
  IgnoreErrors([&] { Dir2.SetPath(settings_.DecodePath); });
  quiet_ = false;
}

void FrmPrefs::Show() {
  Form_Load();
  IgnoreErrors([&] { ShowNamePreview(); });
  window.SetVisible(true);
}

void FrmPrefs::Form_Unload() {
  using namespace settingkey;
  IgnoreErrors([&] { SaveSetting(services_.store, EncodingQuality, settings_.EncodingQuality); },
               [&] { SaveSetting(services_.store, EncodingBitrate, settings_.EncodingBitrate); },
               [&] { SaveSetting(services_.store, AudioFormat, settings_.AudioFormat); });
  window.SetVisible(false);
  window.SetLoaded(false);
}

// --- "Disk Space" ------------------------------------------------------------------------------

void FrmPrefs::SaveFlag(const char* key, const controls::CheckBox& box, int16_t& target) {
  SaveSetting(services_.store, key, Flag(box));
  target = Flag(box);
}

// The box holds only text that can be stored (see KeepStorable), so what is saved is what it
// shows. An empty box is a number still being typed: the stored value stays.
void FrmPrefs::SaveThreshold(const char* key, const controls::TextBox& box, int16_t& target) {
  if (box.Text().empty()) return;
  const int16_t value = CInt16(std::string_view(box.Text()));
  SaveSetting(services_.store, key, value);
  target = value;
}

void FrmPrefs::KeepStorable(controls::TextBox& box, std::string& accepted) {
  if (IsThresholdText(box.Text()) || box.Text() == accepted) {
    accepted = box.Text();
  } else {
    box.SetText(accepted);  // the refused key disappears from the box at once
  }
}

void FrmPrefs::ShowThreshold(controls::TextBox& box, std::string& accepted, int16_t value) {
  accepted = std::to_string(value);
  box.SetText(accepted);
}

void FrmPrefs::RefuseEmptyThreshold(controls::TextBox& box, std::string& accepted, int16_t stored) {
  if (!box.Text().empty()) return;
  services_.dialogs.MsgBox(kThresholdRangeText, MsgBoxButtons::OK, MsgBoxIcon::Exclamation);
  ShowThreshold(box, accepted, stored);
}

void FrmPrefs::Check6_Click() { SaveFlag(settingkey::HDWarning, Check6, settings_.HDWarning); }
void FrmPrefs::Check7_Click() { SaveFlag(settingkey::HDstopdecoding, Check7, settings_.HDstopdecoding); }
void FrmPrefs::Text7_KeyUp() {
  IgnoreErrors([&] { SaveThreshold(settingkey::HDWarningNo, Text7, settings_.HDWarningNo); });
}
void FrmPrefs::Text8_KeyUp() {
  IgnoreErrors([&] { SaveThreshold(settingkey::HDStopNo, Text8, settings_.HDStopNo); });
}

void FrmPrefs::Command1_Click() {
  IgnoreErrors([&] { RefuseEmptyThreshold(Text7, acceptedWarning_, settings_.HDWarningNo); },
               [&] { RefuseEmptyThreshold(Text8, acceptedStop_, settings_.HDStopNo); });
  IgnoreErrors([&] { Check6_Click(); }, [&] { Check7_Click(); }, [&] { Text7_KeyUp(); }, [&] { Text8_KeyUp(); });
}

void FrmPrefs::FollowDiskMonitor(DiskSpaceMonitor& monitor) {
  DriveSurvey = [&monitor] { monitor.Survey(); };
  monitor.OnSurveyed = [this, &monitor] {
    Text6.SetText(monitor.DriveListing());
    lblDestinationRoot.SetCaption(monitor.DestinationRoot());
    Label4.SetCaption(monitor.DestinationFigure());
  };
}

void FrmPrefs::Command3_Click() {
  Text6.SetText("");
  if (DriveSurvey) DriveSurvey();
}

// --- "Audio, Misc." ----------------------------------------------------------------------------

void FrmPrefs::cbxFormat_Change() {
  SaveSetting(services_.store, settingkey::AudioFormat, static_cast<int16_t>(cbxFormat.ListIndex()));
  settings_.AudioFormat = static_cast<int16_t>(cbxFormat.ListIndex());
}

void FrmPrefs::Check3_Click() { SaveFlag(settingkey::DeleteWAV, Check3, settings_.DeleteWAV); }
void FrmPrefs::Check11_Click() { SaveFlag(settingkey::ShowFullPath, Check11, settings_.ShowFullPath); }
void FrmPrefs::Check5_Click() { SaveFlag(settingkey::MinimizeOnstart, Check5, settings_.MinimizeOnstart); }

void FrmPrefs::Check4_Click() {
  SaveFlag(settingkey::DesktopIcon, Check4, settings_.DesktopIcon);
  if (Check4.Value() == kTicked) {
    if (OnDesktopIcon) OnDesktopIcon(true);
    window.SetVisible(false);
  } else {
    if (OnDesktopIcon) OnDesktopIcon(false);
    window.SetVisible(true);
  }
}

void FrmPrefs::Check1_Click() {
  if (Check1.Value() == kTicked) {
    mixer.MuteCD();
    Check1.SetCaption("Mute");
  } else {
    mixer.UnmuteCD();
    Check1.SetCaption("Play");
  }
  settings_.MuteButton = Flag(Check1);
  SaveSetting(services_.store, settingkey::MuteButton, settings_.MuteButton);
}

void FrmPrefs::Check10_Click() {
  Check10.SetCaption(Check10.Value() == kTicked ? "Encode to MP3 after extracting" : "Do not Encode after extracting");
}

// A choice here is the one in use at once: stored, and shown by the main window's lists.
void FrmPrefs::Combo1_Click() {
  settings_.EncodingQuality = static_cast<int16_t>(Combo1.ListIndex());
  IgnoreErrors([&] { SaveSetting(services_.store, settingkey::EncodingQuality, settings_.EncodingQuality); },
               [&] {
                 if (OnEncodingChosen) OnEncodingChosen();
               });
}

void FrmPrefs::Combo2_Click() {
  settings_.EncodingBitrate = static_cast<int16_t>(Combo2.ListIndex());
  IgnoreErrors([&] { SaveSetting(services_.store, settingkey::EncodingBitrate, settings_.EncodingBitrate); },
               [&] {
                 if (OnEncodingChosen) OnEncodingChosen();
               });
}

void FrmPrefs::ShowEncoding() {
  quiet_ = true;
  IgnoreErrors([&] { Combo1.SetListIndex(settings_.EncodingQuality); },
               [&] { Combo2.SetListIndex(settings_.EncodingBitrate); });
  quiet_ = false;
}

// --- " Destination Path" -----------------------------------------------------------------------

void FrmPrefs::Dir2_Change() {
  // Stored at once; the destination in use changes only with "Create" or at the next start.
  Text9.SetText(Dir2.Path());
  SaveSetting(services_.store, settingkey::DecodePath, Text9.Text());
}

void FrmPrefs::Check2_Click() { Picture6.SetVisible(Check2.Value() == kTicked); }

// --- "Accuracy" --------------------------------------------------------------------------------

void FrmPrefs::chkSecureReading_Click() {
  SaveFlag(settingkey::SecureReading, chkSecureReading, settings_.SecureReading);
}

void FrmPrefs::txtReadOffset_Change() {
  const std::string& text = txtReadOffset.Text();
  // A sign alone, or nothing, is an offset still being typed: nothing to store or refuse yet.
  const bool typing = text.empty() || text == "-" || text == "+";
  const std::optional<int16_t> offset = ParseReadOffset(text);
  lblReadOffsetRefused.SetCaption(offset || typing ? "" : kReadOffsetRefused);
  if (!offset) return;
  settings_.ReadOffset = *offset;
  SaveSetting(services_.store, settingkey::ReadOffset, *offset);
}

// --- "Disc Information" ------------------------------------------------------------------------

void FrmPrefs::ShowDiscInfoSettings() {
  quiet_ = true;  // showing the stored values chooses nothing
  struct Loud {
    bool& quiet;
    ~Loud() { quiet = false; }
  } loud{quiet_};
  chkLookupOnline.SetValue(settings_.LookupDiscInfo != 0 ? kTicked : kCleared);
  int32_t order = 0;
  for (int32_t i = 0; i < static_cast<int32_t>(std::size(kSourceOrders)); ++i) {
    if (settings_.DiscInfoSources == kSourceOrders[i].second) order = i;
  }
  cmbSources.SetListIndex(order);
  txtCountry.SetText(settings_.PreferredCountry);
  txtMusicBrainzUrl.SetText(settings_.MusicBrainzUrl);
  txtGnudbUrl.SetText(settings_.GnudbUrl);
  EnableLookupControls();
}

void FrmPrefs::EnableLookupControls() {
  const bool online = chkLookupOnline.Value() == kTicked;
  for (controls::Control* c : std::initializer_list<controls::Control*>{
           &lblSources, &cmbSources, &lblCountry, &txtCountry, &lblMusicBrainzUrl, &txtMusicBrainzUrl, &lblGnudbUrl,
           &txtGnudbUrl}) {
    c->SetEnabled(online);
  }
}

void FrmPrefs::chkLookupOnline_Click() {
  SaveFlag(settingkey::LookupDiscInfo, chkLookupOnline, settings_.LookupDiscInfo);
  EnableLookupControls();
}

void FrmPrefs::cmbSources_Click() {
  const int32_t index = cmbSources.ListIndex();
  if (index < 0 || index >= static_cast<int32_t>(std::size(kSourceOrders))) return;
  settings_.DiscInfoSources = kSourceOrders[index].second;
  SaveSetting(services_.store, settingkey::DiscInfoSources, settings_.DiscInfoSources);
}

// Saved once the box holds a country or nothing (no preference); one letter is still being typed.
void FrmPrefs::txtCountry_Change() {
  const std::string code = CountryCode(txtCountry.Text());
  if (code.empty() && !Trim(txtCountry.Text()).empty()) return;
  settings_.PreferredCountry = code;
  SaveSetting(services_.store, settingkey::PreferredCountry, code);
}

void FrmPrefs::SaveBaseUrl(const char* key, const controls::TextBox& box, std::string& target) {
  if (!IsBaseUrl(box.Text())) {
    lblAddressNote.SetCaption(kAddressNote);
    return;
  }
  lblAddressNote.SetCaption("");
  target = box.Text();
  SaveSetting(services_.store, key, target);
}

void FrmPrefs::txtMusicBrainzUrl_Change() {
  SaveBaseUrl(settingkey::MusicBrainzUrl, txtMusicBrainzUrl, settings_.MusicBrainzUrl);
}

void FrmPrefs::txtGnudbUrl_Change() { SaveBaseUrl(settingkey::GnudbUrl, txtGnudbUrl, settings_.GnudbUrl); }

}  // namespace korvalin
