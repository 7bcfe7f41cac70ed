#pragma once
// The file a rip log is kept in, beside the job's outputs: "<folder>/<base>-rip.log", or
// "<base>-rip-2.log", "-3" ... when that name is taken. It never replaces a file it did not
// write itself: each version of the log is written to a temporary file, flushed, and then put in
// place — as a new name the first time (refused if anything appeared there meanwhile), over its
// own earlier version afterwards.

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>

namespace korvalin {

class RipLogFile {
 public:
  RipLogFile(std::string folder, std::string base);

  // Writes `text` as the log's new content. Nothing on success; otherwise the message for the
  // user, naming the file and the cause. A failed write leaves the earlier version in place.
  std::optional<std::string> Write(const std::string& text);

  // The log's path once written; "" before.
  const std::string& Path() const { return path_; }

 private:
  std::string Candidate(int number) const;
  bool IsOurs(const std::string& path) const;
  // Notes the identity of the file now at `path`, written by this log.
  void Remember(const std::string& path);
  std::optional<std::string> Place(const std::string& temp);

  std::string folder_;
  std::string base_;
  std::string path_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  // A removed file's inode number can be given to the next file made in the folder: the change
  // time and size tell our file from a user's file that got the same number.
  timespec changed_{};
  off_t size_ = 0;
};

// The message for a log that could not be written.
std::string RipLogFailureText(const std::string& path, const std::string& cause);

}  // namespace korvalin
