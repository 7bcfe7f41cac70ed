#include "platform/linux/ReadAhead.h"

#include <algorithm>
#include <cstring>

namespace korvalin {
namespace {

constexpr std::size_t kFrameBytes = 2352;

}  // namespace

ReadAhead::ReadAhead(Source source, std::mutex& discLock, int32_t capacityFrames)
    : source_(std::move(source)), discLock_(discLock), capacity_(std::max<int32_t>(1, capacityFrames)) {}

ReadAhead::~ReadAhead() { Stop(); }

bool ReadAhead::ReadDirectly(int32_t first, int32_t count, uint8_t* out, Notes& notes) {
  std::lock_guard<std::mutex> disc(discLock_);
  return source_(first, count, out, notes);
}

bool ReadAhead::Read(int32_t first, int32_t count, int32_t end, uint8_t* out, Notes& notes) {
  if (count <= 0) return ReadDirectly(first, count, out, notes);
  std::unique_lock<std::mutex> lock(mutex_);
  if (lastFirst_ >= 0 && first >= lastFirst_ && first + count <= lastEnd_) {
    // A re-read of what was just asked for: it must come from the disc again. What lies ahead
    // stays, since the program goes on from the end of the last request afterwards.
    lock.unlock();
    return ReadDirectly(first, count, out, notes);
  }
  bool ok = false;
  bool served = false;
  if (first == lastEnd_) {
    changed_.wait(lock, [&] { return !chunks_.empty() || !running_; });
    served = Serve(first, count, out, notes, ok);
  }
  if (!served) {
    StopLocked(lock);
    lock.unlock();
    ok = ReadDirectly(first, count, out, notes);
    lock.lock();
  }
  lastFirst_ = first;
  lastEnd_ = first + count;
  // Read on, unless the thread still is (or stopped at a failure that is yet to be asked for),
  // the read failed (the program retries or stops), or the track ends here.
  if (ok && !running_ && chunks_.empty() && lastEnd_ < end) StartLocked(lastEnd_, count, end);
  return ok;
}

bool ReadAhead::Serve(int32_t first, int32_t count, uint8_t* out, Notes& notes, bool& ok) {
  if (chunks_.empty() || chunks_.front().first != first || chunks_.front().count != count) return false;
  Chunk& chunk = chunks_.front();
  ok = chunk.ok;
  // A failed read leaves the caller's buffer undefined, as a direct read does; the good frames
  // of a failed stretch are never handed out.
  if (ok) std::memcpy(out, chunk.audio.data(), chunk.audio.size());
  notes.fault = std::move(chunk.notes.fault);
  notes.findings.rereads += chunk.notes.findings.rereads;
  notes.findings.uncorrected.insert(notes.findings.uncorrected.end(), chunk.notes.findings.uncorrected.begin(),
                                    chunk.notes.findings.uncorrected.end());
  held_ -= chunk.count;
  chunks_.pop_front();
  changed_.notify_all();  // room for the thread
  return true;
}

void ReadAhead::StartLocked(int32_t from, int32_t count, int32_t end) {
  if (thread_.joinable()) thread_.join();  // it has finished: running_ is false
  next_ = from;
  end_ = end;
  chunkSize_ = count;
  stop_ = false;
  running_ = true;
  thread_ = std::thread([this] { Run(); });
}

void ReadAhead::StopLocked(std::unique_lock<std::mutex>& lock) {
  stop_ = true;
  changed_.notify_all();
  if (thread_.joinable()) {
    lock.unlock();
    thread_.join();
    lock.lock();
  }
  stop_ = false;
  std::deque<Chunk>().swap(chunks_);  // frees the buffer, not only empties it
  held_ = 0;
}

void ReadAhead::Stop() {
  std::unique_lock<std::mutex> lock(mutex_);
  StopLocked(lock);
}

void ReadAhead::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stop_ && next_ < end_) {
    const int32_t n = std::min(chunkSize_, end_ - next_);
    changed_.wait(lock, [&] { return stop_ || held_ == 0 || held_ + n <= capacity_; });
    if (stop_) break;
    Chunk chunk;
    chunk.first = next_;
    chunk.count = n;
    lock.unlock();
    chunk.audio.resize(static_cast<std::size_t>(n) * kFrameBytes);
    {
      std::lock_guard<std::mutex> disc(discLock_);
      chunk.ok = source_(chunk.first, n, chunk.audio.data(), chunk.notes);
    }
    lock.lock();
    if (stop_) break;
    const bool ok = chunk.ok;
    if (!ok) std::vector<uint8_t>().swap(chunk.audio);
    chunks_.push_back(std::move(chunk));
    held_ += n;
    mostHeld_ = std::max(mostHeld_, held_);
    next_ += n;
    changed_.notify_all();
    if (!ok) break;  // the program learns of it when it asks for that stretch, and decides
  }
  running_ = false;
  changed_.notify_all();
}

int32_t ReadAhead::HeldFrames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return held_;
}

int32_t ReadAhead::MostHeldFrames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mostHeld_;
}

bool ReadAhead::Reading() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_;
}

}  // namespace korvalin
