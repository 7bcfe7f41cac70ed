#pragma once
// The Preferences window: disk-space warnings, audio and other options, the destination
// folder, how exactly tracks are read, where disc information is looked up, and the tags and
// names of the files a rip writes. Every control writes its setting to the store and to the in-memory settings when the
// user changes it, so a change takes effect at once. The main window loads it hidden at every
// start, and its load settles (and creates) the destination folder; closing it unloads it.

#include <functional>
#include <string>
#include <vector>

#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/CommandButton.h"
#include "controls/FolderList.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/PictureBox.h"
#include "controls/TabStrip.h"
#include "controls/TextBox.h"
#include "controls/Window.h"
#include "common/TrackTags.h"
#include "desktop/DiskSpaceMonitor.h"
#include "desktop/MixerMute.h"
#include "platform/Services.h"
#include "settings/Settings.h"

namespace korvalin {

class FrmPrefs {
 public:
  // `qualityEntries` are the names of the encoding qualities, in index order.
  FrmPrefs(Services& services, Settings& settings, std::vector<std::string> qualityEntries);
  FrmPrefs(const FrmPrefs&) = delete;
  FrmPrefs& operator=(const FrmPrefs&) = delete;

  controls::Window window{"FrmPrefs", "Preferences"};
  controls::TabStrip SSTab1{"SSTab1", {"Disk Space", "Audio, Misc.", " Destination Path", "Accuracy", "Disc Information",
                                                  "Tags and Names"}};

  // --- "Disk Space" ---
  controls::CheckBox Check6{"Check6", "Warn me when hard drive space falls below"};
  // The thresholds hold whole megabytes the setting can store; a key that would make anything
  // else of them is refused.
  controls::TextBox Text7{"Text7", "100"};  // warning threshold
  controls::CheckBox Check7{"Check7", "Stop converting when hard drive space falls below "};
  controls::TextBox Text8{"Text8", "100"};  // stop threshold
  controls::Label lblWarningUnit{"lblWarningUnit", "MB"};
  controls::Label lblStopUnit{"lblStopUnit", "MB"};
  controls::CommandButton Command1{"Command1", "Set"};
  controls::TextBox Text6{"Text6"};  // free space of every drive, one line each
  controls::Label lblDestinationDrive{"lblDestinationDrive", "Destination drive:"};
  controls::Label lblDestinationRoot{"lblDestinationRoot"};  // the drive that holds the destination
  controls::Label Label4{"Label4"};                          // its free megabytes
  controls::Label lblDestinationUnit{"lblDestinationUnit", "MB available"};
  controls::CommandButton Command3{"Command3", "Refresh data"};

  // --- "Audio, Misc." ---
  controls::Label lblAudioFormat{"lblAudioFormat", "Audio Format"};
  controls::ComboBox cbxFormat{"cbxFormat"};  // analog capture format
  controls::CheckBox Check3{"Check3", "Delete WAV file after encoding (2 stage extraction only)"};
  controls::CheckBox Check1{"Check1", "Mute", controls::CheckBox::Checked};  // shown as a push button
  controls::Label lblMute{"lblMute", "Turn off/on CD sound while extracting"};
  controls::CheckBox Check11{"Check11", "Show File names as Full File Path", controls::CheckBox::Checked};
  controls::CheckBox Check10{"Check10", "Encode to MP3 after extracting", controls::CheckBox::Checked};
  controls::CheckBox Check5{"Check5", "Minimize program during conversion"};
  controls::CheckBox Check4{"Check4"};  // a picture, no caption: the tray icon
  controls::Label lblTray{"lblTray", "Minimize program to Desktop Tray Now"};
  controls::Label lblQuality{"lblQuality", "Encoding Quality"};
  controls::ComboBox Combo1{"Combo1"};  // quality
  controls::Label lblBitrate{"lblBitrate", "Encoding Bitsize"};
  controls::ComboBox Combo2{"Combo2"};  // bitrate

  // --- " Destination Path" ---
  controls::FolderList Dir2{"Dir2"};
  controls::Label lblPath{"lblPath", "Destination Path"};
  controls::TextBox Text9{"Text9"};  // the destination path
  controls::CheckBox Check2{"Check2", "I'll select the destination path and directory"};
  controls::PictureBox Picture6{"Picture6"};  // creating a new folder
  controls::TextBox Text10{"Text10"};         // its name
  controls::Label lblCreate0{"lblCreate0", "To create a new Destination Directory:"};
  controls::Label lblCreate1{"lblCreate1", "1. Enter a name in the space above"};
  controls::Label lblCreate2{"lblCreate2",
                             "2. Use the file controls on your right to select a parent drive and directory."};
  controls::Label lblCreate3{"lblCreate3", "3. Click \"Create\" to make the new directory."};
  controls::CommandButton Co111{"Co111", "Create"};

  // --- "Accuracy" ---
  controls::CheckBox chkSecureReading{"chkSecureReading", "Secure reading"};
  controls::Label lblSecureReading{
      "lblSecureReading",
      "Reads every block of a track until two reads agree (on a CD drive, with full error correction), "
      "so that a scratch or a jittery drive cannot slip wrong samples into a file. Ripping takes about "
      "twice as long. A track that could not be read exactly is reported when it is done."};
  controls::Label lblReadOffset{"lblReadOffset", "Read offset correction"};
  controls::TextBox txtReadOffset{"txtReadOffset", "0"};
  controls::Label lblReadOffsetUnit{"lblReadOffsetUnit", "samples"};
  controls::Label lblReadOffsetNote{
      "lblReadOffsetNote",
      "Most drives deliver a track a few samples early or late. The correction takes every read that many "
      "samples further on (-2000 to +2000), so that a rip holds exactly what the disc does; "
      "korvalin-cli offset finds your drive's."};
  controls::Label lblReadOffsetRefused{"lblReadOffsetRefused"};  // why the typed offset is not taken

  // --- "Disc Information" ---
  controls::CheckBox chkLookupOnline{"chkLookupOnline", "Look up disc information on the Internet"};
  controls::Label lblLookupOnline{
      "lblLookupOnline",
      "When a disc is read, its ids and track lengths are sent to the sources below, which answer with "
      "the album, the artist and the track titles. Off: nothing leaves this computer; the disc's CD-Text "
      "and the information you saved with \"Use\" are still shown."};
  controls::Label lblSources{"lblSources", "Sources, in order"};
  controls::ComboBox cmbSources{"cmbSources"};
  controls::Label lblCountry{"lblCountry", "Preferred country (two letters, such as DE)"};
  controls::TextBox txtCountry{"txtCountry"};
  controls::Label lblMusicBrainzUrl{"lblMusicBrainzUrl", "MusicBrainz address"};
  controls::TextBox txtMusicBrainzUrl{"txtMusicBrainzUrl"};
  controls::Label lblGnudbUrl{"lblGnudbUrl", "gnudb address"};
  controls::TextBox txtGnudbUrl{"txtGnudbUrl"};
  controls::Label lblAddressNote{"lblAddressNote"};  // why a typed address is not taken

  // --- "Tags and Names" ---
  controls::Label lblTagVersion{"lblTagVersion", "Tags written into the files"};
  controls::ComboBox cmbTagVersion{"cmbTagVersion"};  // "ID3v2.3", "ID3v2.4", "No tags"
  controls::CheckBox chkNameFromTags{"chkNameFromTags", "Name files from the disc information"};
  controls::Label lblNameTemplate{"lblNameTemplate", "Template"};
  controls::TextBox txtNameTemplate{"txtNameTemplate"};
  controls::Label lblNameFields{
      "lblNameFields",
      "Fields: %artist% %album% %year% %track% %title% %disc% %albumartist%. A \"/\" makes a folder. Off, or "
      "without disc information, files are named <number>-<track> as always. A name that is taken gets \" (2)\"."};
  controls::CheckBox chkFatSafeNames{"chkFatSafeNames",
                                     "Leave out the characters FAT file systems refuse (\\ : * ? \" < > |)"};
  controls::Label lblNamePreview{"lblNamePreview"};  // whose names the preview shows
  controls::ListBox lstNamePreview{"lstNamePreview"};

  // Centres the window, opens the mixer, shows the settings (running the click action of every
  // box that differs from its initial state), fills the format list, refreshes the disk figures
  // and settles the destination folder.
  void Form_Load();
  // Loads the window when needed and shows it.
  void Show();
  // Closing: saves quality, bitrate and format, then unloads the window.
  void Form_Unload();

  void Check6_Click();
  void Check7_Click();
  void Text7_KeyUp();
  void Text8_KeyUp();
  void Command1_Click();
  void Command3_Click();
  void cbxFormat_Change();
  void Check3_Click();
  void Check11_Click();
  void Check5_Click();
  void Check4_Click();
  void Check1_Click();
  void Check10_Click();
  void Combo1_Click();
  void Combo2_Click();
  void Dir2_Change();
  void Check2_Click();
  // "Create": settles the destination folder.
  void Co111_Click();
  void chkSecureReading_Click();
  // Stores the offset the box holds; text that is no offset in range is not stored, and the note
  // says what the box takes.
  void txtReadOffset_Change();
  void chkLookupOnline_Click();
  void cmbSources_Click();
  void txtCountry_Change();
  void txtMusicBrainzUrl_Change();
  void txtGnudbUrl_Change();
  void cmbTagVersion_Click();
  void chkNameFromTags_Click();
  void txtNameTemplate_Change();
  void chkFatSafeNames_Click();
  // Shows the names a rip of the whole disc would give with the template in the box: the disc
  // whose information is known, else an example disc.
  void ShowNamePreview();

  // Shows the stored quality and bitrate in this window's lists, choosing nothing.
  void ShowEncoding();
  // Run when the user chooses a quality or bitrate here, once the setting holds it.
  std::function<void()> OnEncodingChosen;
  // Run when "Create" (or the question after a failed one) has made a new destination the one in use.
  std::function<void()> OnDestinationChosen;

  // The disk-space monitor's drive survey: fills Text6 with the listing and lblDestinationRoot
  // and Label4 with the destination drive's figures. "Refresh data" runs it after clearing Text6.
  std::function<void()> DriveSurvey;
  // The "Disk Space" tab shows the monitor's surveys from now on: "Refresh data" runs one, and
  // every survey (a refresh or a tick of the monitor during a job) brings the tab up to date.
  void FollowDiskMonitor(DiskSpaceMonitor& monitor);
  // The disc information of the disc in the drive, one entry per track; empty while none is known.
  std::function<std::vector<TrackTags>()> KnownDiscTags;
  // The extension the next rip writes (".mp3" while none is given).
  std::function<std::string()> PreviewExtension;
  // "Minimize program to Desktop Tray Now": ticked puts the main window into the notification
  // area (true), cleared takes it out (false). Unset, the box only stores the setting.
  std::function<void(bool shown)> OnDesktopIcon;

  MixerMute mixer;

 private:
  // The controls as the window is designed, set without running any handler.
  void RestoreDesignState();
  void ConnectHandlers();
  // Runs `handler` for a control event unless the program is setting controls up quietly.
  std::function<void()> Handler(void (FrmPrefs::*handler)());
  void SaveFlag(const char* key, const controls::CheckBox& box, int16_t& target);
  void SaveThreshold(const char* key, const controls::TextBox& box, int16_t& target);
  // Keeps a threshold box to text that can be stored: the last such text comes back otherwise.
  static void KeepStorable(controls::TextBox& box, std::string& accepted);
  // Shows a stored threshold in its box; a stored value is shown as it is.
  static void ShowThreshold(controls::TextBox& box, std::string& accepted, int16_t value);
  // "Set" with an empty threshold box: says what the box takes and shows the stored value again.
  void RefuseEmptyThreshold(controls::TextBox& box, std::string& accepted, int16_t stored);
  void SettleDestination();
  void AskForFolderAfterError();
  // Shows the disc-information settings; the source, country and address boxes follow the
  // "Look up" box.
  void ShowDiscInfoSettings();
  void EnableLookupControls();
  void SaveBaseUrl(const char* key, const controls::TextBox& box, std::string& target);
  // Shows the stored tag and naming choices.
  void ShowTagAndNameSettings();
  // The folder a new destination goes in when the user gave none: where the default one lies.
  std::string DefaultParent() const;

  Services& services_;
  Settings& settings_;
  std::vector<std::string> qualityEntries_;
  bool quiet_ = false;
  std::string acceptedWarning_ = "100", acceptedStop_ = "100";
};

// A threshold as the disk-space boxes take it: empty (while typing) or 0 to 32767 in digits.
bool IsThresholdText(const std::string& text);
inline constexpr const char* kThresholdRangeText = "Enter a number of megabytes from 0 to 32767.";

}  // namespace korvalin
