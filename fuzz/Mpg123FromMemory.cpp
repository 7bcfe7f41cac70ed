// The decoder reads a file in small pieces, one system call each, a byte at a time while it looks
// for a frame in damaged data: two hundred calls for a typical input, the largest cost of the MP3
// decoding target once it no longer waited by polling. This definition stands in front of the
// library's own: a file whose bytes the target offered (OfferInMemory) is read from memory through
// the library's handle reader, every other file as before. The decoder sees the same bytes, the
// same length and the same seeks either way.

#include <dlfcn.h>
#include <mpg123.h>
#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "fuzz/FuzzSupport.h"

namespace {

struct MemoryReader {
  std::string_view bytes;
  off_t at = 0;
};

mpg123_ssize_t ReadMemory(void* handle, void* out, std::size_t size) {
  auto* r = static_cast<MemoryReader*>(handle);
  const auto length = static_cast<off_t>(r->bytes.size());
  const std::size_t left = r->at < length ? static_cast<std::size_t>(length - r->at) : 0;
  const std::size_t n = std::min(size, left);
  std::memcpy(out, r->bytes.data() + r->at, n);
  r->at += static_cast<off_t>(n);
  return static_cast<mpg123_ssize_t>(n);
}

off_t SeekMemory(void* handle, off_t offset, int whence) {
  auto* r = static_cast<MemoryReader*>(handle);
  const off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? r->at : static_cast<off_t>(r->bytes.size());
  if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
  const off_t to = base + offset;
  if (to < 0) return -1;
  r->at = to;  // past the end, as a file allows; reads there return nothing
  return to;
}

void DeleteReader(void* handle) { delete static_cast<MemoryReader*>(handle); }

}  // namespace

bool korvalin::fuzz::Mp3DecoderReadsFromMemory() { return true; }

extern "C" int mpg123_open(mpg123_handle* mh, const char* path) {
  using Open = int (*)(mpg123_handle*, const char*);
  static const auto libraryOpen = reinterpret_cast<Open>(::dlsym(RTLD_NEXT, "mpg123_open"));
  if (!libraryOpen) {
    std::fprintf(stderr, "mpg123_open of the library not found: %s\n", ::dlerror());
    std::abort();
  }
  const std::string_view* bytes = korvalin::fuzz::InMemory(path);
  if (!bytes) return libraryOpen(mh, path);
  if (mpg123_replace_reader_handle(mh, ReadMemory, SeekMemory, DeleteReader) != MPG123_OK) return MPG123_ERR;
  // The library owns the reader from here on, opened or not, and deletes it when it closes.
  return mpg123_open_handle(mh, new MemoryReader{*bytes});
}
