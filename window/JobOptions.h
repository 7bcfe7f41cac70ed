#pragma once
// The choices a job runs with, read from the main window's option controls and settings once,
// when the job starts, and handed down as values: what the user changes while a job runs counts
// from the next job on, and no step of a job parses a list text again.

#include <cstdint>
#include <string>
#include <vector>

#include "common/TrackTags.h"
#include "settings/Settings.h"

namespace korvalin {

// What the job works on, as the collection showed it when Start was pressed.
struct JobSelection {
  std::string node;                     // the selected tree node's text ("" when none)
  std::vector<std::string> nodeTracks;  // the track lines that node shows (its children)
  std::vector<std::string> tracks;      // the selected track list
  int32_t trackIndex = -1;              // the line selected in it (-1: none)
  // The files the node stands for: its group's list, or, for one file's item, the listed file of
  // that name (none when no list holds it any more).
  std::vector<std::string> files;
};

struct JobOptions {
  // --- from the settings ---
  std::string destination;     // the folder every output file goes to
  int16_t encodingBitrate = 0;  // stored bitrate index
  int16_t encodingQuality = 0;  // stored quality index
  int16_t deleteWav = 0;        // 1: a WAV made on the way to an MP3 is deleted once encoded
  int16_t audioFormat = 0;      // capture through the sound card: 0 mono, 1 stereo
  bool secureReading = false;   // every block read until two reads agree (or the drive's own correction)
  int32_t readOffset = 0;       // the drive's read offset correction, in samples
  std::string accurateRipUrl;   // the AccurateRip database's address; "" asks nothing

  // --- from the option controls ---
  bool toMp3 = true;     // the output choice: MP3, or WAV
  int16_t oneStep = 1;   // "1 Step Extraction": 1 digital, 0 through the sound card, 2 (greyed) neither
  double bitrate = 0;    // the bitrate list's text as a number (kbit/s)
  int32_t qualityIndex = -1;  // the quality list's index (-1: nothing chosen)
  // The "Private", "CRC", "Copyrighted" and "Original" boxes (1 ticked).
  int16_t privateBox = 0;
  int16_t crcBox = 0;
  int16_t copyrightedBox = 0;
  int16_t originalBox = 0;

  // --- from the CD information ---
  double discIdentity = 0;  // the disc's identity: the output names' prefix is drawn from it
  double trackCount = 0;    // the disc's track count

  // --- from the disc information (empty when the disc is not known) ---
  // Per track of the disc, by track number - 1; a track beyond the vector has no tags.
  std::vector<TrackTags> trackTags;
  // The tags written: 0 none, 3 ID3v2.3 (the default), 4 ID3v2.4.
  int tagVersion = 3;
  // Names built from `nameTemplate` and the tags instead of the described names.
  bool nameFromTags = false;
  std::string nameTemplate;
  bool fatSafeNames = false;  // also replace the characters FAT file systems refuse

  JobSelection selection;

  // Takes the settings' part from `settings`.
  void TakeSettings(const Settings& settings) {
    destination = settings.DecodePath;
    encodingBitrate = settings.EncodingBitrate;
    encodingQuality = settings.EncodingQuality;
    deleteWav = settings.DeleteWAV;
    audioFormat = settings.AudioFormat;
    secureReading = settings.SecureReading != 0;
    readOffset = settings.ReadOffset;
    accurateRipUrl = settings.AccurateRipUrl;
    tagVersion = settings.TagVersion;
    nameFromTags = settings.NameFromTags != 0;
    nameTemplate = settings.NameTemplate;
    fatSafeNames = settings.FatSafeNames != 0;
  }
};

}  // namespace korvalin
