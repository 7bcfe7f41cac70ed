#pragma once
// The main window's options panel: the bitrate and quality lists, the MP3 frame flag boxes, the
// output choice (MP3 or WAV) and the 1/2 step switch. It places its controls inside the panel,
// fills the lists, stores a chosen bitrate or quality, and hands a starting job what it shows.

#include <string>
#include <vector>

#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/OptionButton.h"
#include "platform/SettingsStore.h"
#include "settings/Settings.h"
#include "window/JobOptions.h"

namespace korvalin {

class EncoderOptionsPanel {
 public:
  // `bitrates` and `qualities`: the entries of the two lists, in index order.
  EncoderOptionsPanel(Settings& settings, SettingsStore& store, const std::vector<std::string>& bitrates,
                      const std::vector<std::string>& qualities);
  EncoderOptionsPanel(const EncoderOptionsPanel&) = delete;
  EncoderOptionsPanel& operator=(const EncoderOptionsPanel&) = delete;

  controls::Label lblBitrate{"lblBitrate", "Bitrate (kbit/s)"};
  controls::ComboBox cmbBitrate{"cmbBitrate"};
  controls::Label lblQuality{"lblQuality", "Quality"};
  controls::ComboBox cmbQuality{"cmbQuality"};
  controls::CheckBox chkCRC{"chkCRC", "CRC"};
  controls::CheckBox chkPrivate{"chkPrivate", "Private"};
  controls::CheckBox chkOriginal{"chkOriginal", "Original"};
  controls::CheckBox chkCopyright{"chkCopyright", "Copyrighted"};
  controls::OptionButton optMP3{"optMP3", "MP3", true};
  controls::OptionButton optWAV{"optWAV", "WAV"};
  controls::CheckBox Chk2Stage{"Chk2Stage", "1 Step Extraction", controls::CheckBox::Checked};

  // Runs after a bitrate or quality chosen here has been stored (also when storing failed), so
  // that other displays of the encoding can follow.
  controls::Event OnEncodingStored;

  // The lists show the settings' bitrate and quality (each chosen as if clicked, so stored again).
  void ShowEncoding();
  // The part of a starting job's options that these controls hold.
  void FillJobOptions(JobOptions& job) const;
  // The ending of the files a rip started now writes.
  std::string OutputExtension() const { return optMP3.Value() ? ".mp3" : ".wav"; }

  // The panel's two track lists share what a panel `panelHeight` high has below the option
  // boxes; each keeps a few lines in a panel too small for them.
  static void ArrangeTrackLists(int32_t panelHeight, controls::ListBox& first, controls::ListBox& second);
  // The least panel height at which both lists keep those lines.
  static int32_t MinimumHeight();

 private:
  void Place();
  void cmbBitrate_Click();
  void cmbQuality_Click();
  void Chk2Stage_Click();

  Settings& settings_;
  SettingsStore& store_;
  controls::OptionGroup outputChoice_;
};

}  // namespace korvalin
