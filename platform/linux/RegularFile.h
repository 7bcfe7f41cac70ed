#pragma once
// Opening a file the program expects to be an ordinary file of data (a CUE sheet, the audio files
// it names) without ever waiting on a special file: a FIFO opened for reading waits for a writer,
// and a device or socket is no file to read. The name is looked at first and only a regular file
// is opened, without blocking, and checked once more through the open descriptor, so that a FIFO
// put in its place between the two steps is refused as well.

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace korvalin {

struct RegularFile {
  int fd = -1;         // open for reading, close-on-exec, blocking reads; -1 when refused
  int64_t size = 0;    // bytes, as the open file says
  // Why it was refused, to follow the file's name: "is a FIFO, not a regular file", "cannot be
  // read (No such file or directory)".
  std::string fault;
};

// Opens `path` for reading when it is a regular file (links followed). The caller closes `fd`.
RegularFile OpenRegularFile(const std::string& path);

// What kind of file a mode is, with its article: "a FIFO", "a folder", "a socket", ...
std::string FileKindText(mode_t mode);

}  // namespace korvalin
