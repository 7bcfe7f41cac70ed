#include "mp3/DecodeTags.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "mp3/Id3v1Tag.h"
#include "mp3/Mp3Info.h"

namespace korvalin {
namespace {

// A field's text: up to its first NUL, without the blanks that pad it.
std::string FieldText(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
  return Latin1ToUtf8(bytes);
}

std::string LastBytes(const std::string& path, std::size_t count) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string bytes(count, '\0');
  struct stat st {};
  bool read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= static_cast<off_t>(count);
  std::size_t done = 0;
  while (read && done < count) {
    const ssize_t n = ::pread(fd, bytes.data() + done, count - done,
                              st.st_size - static_cast<off_t>(count) + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) read = false;
    else done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return read ? bytes : std::string();
}

}  // namespace

TrackTags TagsOfId3v1Block(std::string_view block) {
  TrackTags tags;
  if (!IsId3v1Tag(block)) return tags;
  tags.title = FieldText(block.substr(3, 30));
  tags.artist = FieldText(block.substr(33, 30));
  tags.album = FieldText(block.substr(63, 30));
  tags.year = FieldText(block.substr(93, 4));
  // ID3v1.1: a NUL before the comment's last byte makes that byte the track number.
  const bool hasTrack = block[125] == '\0' && block[126] != '\0';
  tags.comment = FieldText(block.substr(97, hasTrack ? 28 : 30));
  if (hasTrack) tags.track = static_cast<unsigned char>(block[126]);
  const auto genre = static_cast<unsigned char>(block[127]);
  if (genre != 255) tags.genre = std::to_string(genre);
  return tags;
}

TrackTags ReadMp3Tags(TagLibrary& library, const std::string& path) {
  const Id3v2Reading id3v2 = library.ReadId3v2File(path);
  if (id3v2.readable && !id3v2.tags.Empty()) return id3v2.tags;
  return TagsOfId3v1Block(LastBytes(path, kId3v1Size));
}

}  // namespace korvalin
