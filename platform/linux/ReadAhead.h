#pragma once
// Reads a track ahead of the program on a thread of its own, so that the drive keeps reading
// while the program encodes or writes the block it was given. The program's reads are served in
// the order it asks for them, with the bytes and the outcome the disc gave for exactly that
// stretch; what the thread reads is held in a bounded buffer. The program itself stays
// single-threaded: it only ever waits here for a block the thread has not finished yet.
//
// A request that continues the last one is served from the buffer. A request inside the last
// one (a retry after a failure, or the second read of a block that secure reading compares) goes
// to the disc directly and keeps the buffer. Any other request (a seek) drops the buffer and
// reads directly. After every request the thread reads on from its end, in requests of the same
// size, up to the end of the request's track; it stops at the first read that fails, whose
// outcome is kept for the request that asks for that stretch.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/CorrectingReader.h"

namespace korvalin {

class ReadAhead {
 public:
  // What a read found besides its audio.
  struct Notes {
    std::string fault;                    // why it failed, in the disc's words
    CorrectingReader::Findings findings;  // what a correcting reader found
  };
  // Reads `count` frames of 2352 bytes from frame `first` into `out`; false when it failed. It is
  // called with the disc's lock held, from the program's thread or the reader thread.
  using Source = std::function<bool(int32_t first, int32_t count, uint8_t* out, Notes& notes)>;

  // 16 blocks of 26 frames: 5.5 s of audio, 978 KB. At 37x the drive reads that in 150 ms, so the
  // drive goes on at full speed through any stall of the program up to that long (a flush to a
  // busy disk, a redraw, the end of a file), which the encoding and writing of a block (a few
  // milliseconds) never come near; more would only hold memory. Under 1 MB, so a rip's memory
  // stays what it was.
  static constexpr int32_t kCapacityFrames = 16 * 26;

  // `discLock` is held around every read of the disc, by whichever thread reads.
  ReadAhead(Source source, std::mutex& discLock, int32_t capacityFrames = kCapacityFrames);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Reads `count` frames from `first` into `out` as described above, then lets the thread read on
  // up to frame `end` (exclusive: the end of the track). False when the read failed; `notes`
  // tells what the read found.
  bool Read(int32_t first, int32_t count, int32_t end, uint8_t* out, Notes& notes);

  // Stops the thread (after the read it is in, if any) and frees the buffer.
  void Stop();

  // Frames held now, and the most ever held at once (the bound is `capacityFrames`).
  int32_t HeldFrames() const;
  int32_t MostHeldFrames() const;
  // Whether the reader thread is running.
  bool Reading() const;

 private:
  struct Chunk {
    int32_t first = 0;
    int32_t count = 0;
    bool ok = false;
    std::vector<uint8_t> audio;
    Notes notes;
  };

  bool ReadDirectly(int32_t first, int32_t count, uint8_t* out, Notes& notes);
  // Takes the request from the buffer when its first chunk is exactly that stretch; `ok` is then
  // the outcome of its read.
  bool Serve(int32_t first, int32_t count, uint8_t* out, Notes& notes, bool& ok);
  void StopLocked(std::unique_lock<std::mutex>& lock);
  void StartLocked(int32_t from, int32_t count, int32_t end);
  void Run();

  Source source_;
  std::mutex& discLock_;
  const int32_t capacity_;

  mutable std::mutex mutex_;  // guards everything below
  std::condition_variable changed_;
  std::deque<Chunk> chunks_;
  int32_t held_ = 0;
  int32_t mostHeld_ = 0;
  int32_t next_ = 0;       // the frame the thread reads next
  int32_t end_ = 0;        // where it stops
  int32_t chunkSize_ = 0;  // frames per read
  bool stop_ = false;
  bool running_ = false;
  std::thread thread_;
  // The last request: a re-read lies inside it, the next block begins at its end.
  int32_t lastFirst_ = -1;
  int32_t lastEnd_ = -1;
};

}  // namespace korvalin
