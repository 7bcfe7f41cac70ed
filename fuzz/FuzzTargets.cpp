#include "fuzz/FuzzTargets.h"

namespace korvalin::fuzz {

const std::vector<Target>& AllTargets() {
  static const std::vector<Target> targets = {
      {"wav_input", FuzzWavInput},
      {"mp3_decode", FuzzMp3Decode},
      {"media_commands", FuzzMediaCommands},
      {"settings", FuzzSettings},
      {"mp3_info", FuzzMp3Info},
      {"id3_tag", FuzzId3Tag},
      {"id3v2_tag", FuzzId3v2Tag},
      {"cue_image", FuzzCueImage},
      {"disc_choice", FuzzDiscChoice},
      {"musicbrainz_json", FuzzMusicBrainzJson},
      {"cddb_response", FuzzCddbResponse},
      {"xmcd_record", FuzzXmcdRecord},
      {"dbar", FuzzDbar},
  };
  return targets;
}

}  // namespace korvalin::fuzz
