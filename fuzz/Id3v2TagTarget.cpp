// The ID3v2 tag reader over any bytes: it never fails, the file reader finds what the block reader
// finds, and the tags read render again as a v2.4 tag that reads back the same.

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/linux/TagLibTags.h"

namespace korvalin::fuzz {

int FuzzId3v2Tag(const uint8_t* data, std::size_t size) {
  TagLibTags library;
  const std::vector<uint8_t> bytes(data, data + size);
  const Id3v2Reading block = library.ReadId3v2(bytes);
  Check(block.present || (!block.readable && block.frames.empty()), "only a tag is read");

  const std::string path = ScratchPath("tagged.mp3");
  WriteWholeFile(path, AsText(data, size));
  const Id3v2Reading file = library.ReadId3v2File(path);
  Check(file.present == block.present && file.readable == block.readable && file.version == block.version,
        "the file reader finds what the block reader finds");
  Check(file.tags == block.tags && file.frames.size() == block.frames.size(), "... with the same frames");

  if (block.readable) {
    const std::vector<uint8_t> again = library.RenderId3v2(block.tags, Id3v2Version::v4);
    Check(again.empty() == block.tags.Empty(), "tags render unless there are none");
    if (!again.empty()) {
      const Id3v2Reading reread = library.ReadId3v2(again);
      Check(reread.readable && reread.version == 4, "a rendered tag is a readable v2.4 tag");
      Check(reread.tags == block.tags, "the tags read back as rendered");
    }
    Check(library.RenderId3v2(block.tags, Id3v2Version::v3).empty() == block.tags.Empty(), "v2.3 renders too");
  }
  return 0;
}

}  // namespace korvalin::fuzz
