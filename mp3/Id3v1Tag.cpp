#include "mp3/Id3v1Tag.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/RaisedError.h"
#include "common/Text.h"
#include "mp3/Mp3Info.h"

namespace korvalin {
namespace {

constexpr const char* kSource = "WriteId3v1Tag";
constexpr std::size_t kCommentAt = 97, kCommentWidth = 30;

void Put(std::string& block, const std::string& text, std::size_t width) {
  std::string bytes = Utf8ToLatin1(text).substr(0, width);
  bytes.resize(width, ' ');
  block += bytes;
}

[[noreturn]] void Fail(int err) { throw ErrorFromErrno(err, kSource); }

// Writes all of `data` at `offset`; false (with errno set) when the system wrote less.
bool WriteAllAt(int fd, std::string_view data, off_t offset) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::pwrite(fd, data.data() + done, data.size() - done, offset + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool IsId3v1Tag(std::string_view lastBytes) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return lastBytes.size() == kId3v1Size && lower(lastBytes[0]) == 't' && lower(lastBytes[1]) == 'a' &&
         lower(lastBytes[2]) == 'g';
}

unsigned char GenreByte(std::string_view text) {
  const std::string t = Trim(text);
  if (t.empty() || t.size() > 3) return 255;
  int value = 0;
  for (const char c : t) {
    if (c < '0' || c > '9') return 255;
    value = value * 10 + (c - '0');
  }
  return value <= 255 ? static_cast<unsigned char>(value) : 255;
}

std::string BuildId3v1Block(const Id3v1Fields& fields) {
  std::string block = "TAG";
  Put(block, fields.title, 30);
  Put(block, fields.artist, 30);
  Put(block, fields.album, 30);
  Put(block, fields.year, 4);
  Put(block, fields.comment, kCommentWidth);
  block.push_back(static_cast<char>(GenreByte(fields.genre)));
  return block;
}

void WriteId3v1Tag(const std::string& path, const Id3v1Fields& fields) {
  std::string block = BuildId3v1Block(fields);
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) Fail(errno);
  struct Closer {
    int fd;
    ~Closer() {
      if (fd >= 0) ::close(fd);
    }
  } closer{fd};

  struct stat st {};
  if (::fstat(fd, &st) != 0) Fail(errno);
  if (!S_ISREG(st.st_mode)) Fail(EISDIR);
  const off_t length = st.st_size;

  std::string old(kId3v1Size, '\0');
  bool hasTag = false;
  if (length >= static_cast<off_t>(kId3v1Size)) {
    const ssize_t n = ::pread(fd, old.data(), kId3v1Size, length - static_cast<off_t>(kId3v1Size));
    if (n < 0) Fail(errno);
    if (n >= 0) old.resize(static_cast<std::size_t>(n));
    hasTag = IsId3v1Tag(old);
  }
  if (hasTag && Utf8ToLatin1(fields.comment).size() < kCommentWidth) {
    block[kCommentAt + kCommentWidth - 1] = old[kCommentAt + kCommentWidth - 1];
  }

  const off_t at = hasTag ? length - static_cast<off_t>(kId3v1Size) : length;
  if (!WriteAllAt(fd, block, at) || ::fdatasync(fd) != 0) {
    const int err = errno;
    // A tag that was to be appended and did not fit is taken off again: the file stays whole.
    if (!hasTag && ::ftruncate(fd, length) == 0) ::fdatasync(fd);
    Fail(err);
  }
  closer.fd = -1;
  if (::close(fd) != 0) Fail(errno);
}

}  // namespace korvalin
