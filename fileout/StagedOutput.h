#pragma once
// The output of a job that writes a file: the job writes a hidden temporary file in the target's
// folder and the file takes the target's name only when the job ends with something worth
// keeping. Until then an existing file of that name stays exactly as it was; a job that is
// killed leaves it untouched, and its temporary file is removed by the next job that writes into
// that folder once the process that made it is gone.
//
// The final move replaces only the file that stood at the name when the job started (the one the
// user chose to replace). A file that appeared meanwhile (another job of the same name) is kept,
// and this job's output takes the first free name "name (2).ext", "name (3).ext", ...
//
// A device named as the target (/dev/null) is written in place; a directory, a FIFO or a socket
// is refused without being opened, so a name of that kind never blocks the job.

#include <cstdint>
#include <string>

namespace korvalin {

class StagedOutput {
 public:
  // `target`: the name the job writes. A symbolic link is followed: the file it reaches is the
  // one replaced, the link itself stays.
  explicit StagedOutput(std::string target);
  ~StagedOutput();  // a temporary file that was never committed is removed
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  // Removes stale temporary files from the folder, then makes this job's temporary file (empty,
  // with the mode of the file it will replace). False when it cannot be made; Problem() says why.
  bool Create();
  // The file the job writes: the temporary file, or the device itself.
  const std::string& WritePath() const { return writePath_; }
  // Moves the finished temporary file to its name. False when that fails (Problem() says why);
  // the temporary file is then removed and the target stays as it was.
  bool Commit();
  // Removes the temporary file: the job kept nothing, and the target stays as it was.
  void Discard();

  // The name as the job was given it.
  const std::string& Target() const { return target_; }
  // The name the output has after Commit: the target, or a fresh numbered name.
  const std::string& FinalPath() const { return finalPath_; }
  // True when another file took the target's name while the job ran, so the output got a fresh one.
  bool Renamed() const { return renamed_; }
  // Whether a file stood at the name when the job started: a job that fails to write keeps its
  // part only when it replaces nothing, so a full disk never swaps a whole file for a cut one.
  bool ReplacesAFile() const { return existed_; }
  // The system's error number of the last failure (0: none).
  int Error() const { return error_; }
  // The last failure in words, naming the file: "cannot create X: Permission denied",
  // "X is a directory", "X is a FIFO, not a file".
  const std::string& Problem() const { return problem_; }
  // The cause alone: "Permission denied", "it is a directory".
  const std::string& Cause() const { return cause_; }

 private:
  // Records a failure to create (`creating`) or to finish the output.
  bool Fail(bool creating, int error);
  bool FailAs(const std::string& kind, int error);
  bool MoveToFreeName();

  std::string target_;      // as given
  std::string realTarget_;  // with a link followed
  std::string writePath_;
  std::string finalPath_;
  std::string problem_;
  std::string cause_;
  int error_ = 0;
  bool inPlace_ = false;    // a device: written directly, nothing to move
  bool pending_ = false;    // a temporary file exists that is not yet committed
  bool renamed_ = false;
  // What stood at the target's name when the job started.
  bool existed_ = false;
  uint64_t device_ = 0, inode_ = 0;
  int64_t changedNs_ = 0;  // a file changed since is not the one the job saw
};

// "song (2).wav" for "song.wav" and 2: the number goes before the extension of the last name
// component ("folder/name (2)" for a name without one).
std::string NumberedName(const std::string& path, int number);

// True when `name` (a name inside a folder, no "/") is a temporary file of this program's kind.
// `pid` receives the process that made it.
bool IsStagedTemporaryName(const std::string& name, long& pid);

// Removes the temporary files of this program's kind in `folder` whose process is gone; files of
// a process still running (this one included) and every other file stay. Returns how many went.
int RemoveStaleTemporaries(const std::string& folder);

}  // namespace korvalin
