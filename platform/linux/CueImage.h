#pragma once
// A disc image described by a CUE sheet, read with libcue and plain file reads. The sheet's FILE
// lines are honoured: any number of files, BINARY (raw CD audio, little-endian), MOTOROLA (the
// same, big-endian) and WAVE (16-bit 44.1 kHz stereo PCM, found through its RIFF header), found
// even when the sheet was written elsewhere (SheetFileLookup). The files follow one another on
// the disc in the sheet's order, each from its first frame to its last, so a track may begin in
// one file and go on in the next, and a pregap (INDEX 00) may close the file before its track's.
// Tracks keep their numbers; INDEX 00 pregaps stay in the track before, PREGAP and POSTGAP give
// silence, and data tracks are listed but hold no audio. A file whose length is not whole frames
// ends with a short frame, which cannot be read. Only regular files are opened, so a FIFO or a
// device never stalls the program. A sheet that cannot describe a real disc is refused with a
// CueFault whose text says what is wrong.

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/linux/DiscReader.h"

namespace korvalin {

class CueFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CueImage : public DiscReader {
 public:
  // Reads the sheet at `cuePath` and checks every file it names. Throws CueFault.
  static std::unique_ptr<CueImage> Open(const std::string& cuePath);
  ~CueImage() override;
  CueImage(const CueImage&) = delete;
  CueImage& operator=(const CueImage&) = delete;

  bool ReadAudio(int32_t first, int32_t count, uint8_t* out) override;
  std::vector<std::string> SourceFiles() const override;
  // The sheet's TITLE, PERFORMER and SONGWRITER lines, as read when the image was opened.
  DiscText Text() override { return text_; }

  // The longest disc the reader accepts: 100 minutes of frames.
  static constexpr int32_t kMaxDiscFrames = 100 * 60 * 75;

 private:
  struct AudioFile {
    std::string name;  // as the sheet writes it
    std::string path;  // where it was found
    int fd = -1;
    bool bigEndian = false;
    bool wave = false;
    int64_t dataOffset = 0;  // where the first frame stands in the file
    int64_t dataLength = 0;  // bytes of frames the file holds
  };
  // A run of frames on the disc: from a file (`file` >= 0, at `byteOffset` from the file's data)
  // or silence (`file` -1).
  struct Segment {
    int32_t discStart = 0;
    int32_t frames = 0;
    int file = -1;
    int64_t byteOffset = 0;
    bool data = false;
  };

  explicit CueImage(std::string cuePath) : cuePath_(std::move(cuePath)) {}
  void Build();
  void AddFile(const std::string& name, const std::string& type);
  void AddSegment(int64_t frames, int file, int64_t byteOffset, bool data);
  const Segment* SegmentAt(int32_t frame) const;
  bool ReadFrame(const Segment& s, int32_t frame, uint8_t* out);
  bool ReadFailed(int32_t frame, const std::string& why);

  std::string cuePath_;
  std::vector<AudioFile> files_;
  std::vector<Segment> segments_;
  int64_t discFrames_ = 0;
  DiscText text_;
};

}  // namespace korvalin
