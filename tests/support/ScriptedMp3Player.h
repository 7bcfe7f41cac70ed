#pragma once
// An MP3 player control that does no work: the test says whether it is busy and what its
// position and length are, and reads back every call the program made, in order.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Mp3Player.h"

namespace korvalin::test {

struct PlayerScript {
  bool busy = false;
  int64_t position = 0;
  int64_t length = 0;
  // "source <path>", "convert <path>", "stop", "play", in order.
  std::vector<std::string> calls;
  // How many controls were made with this script.
  int made = 0;
};

class ScriptedMp3Player : public ActiveMP3 {
 public:
  explicit ScriptedMp3Player(std::shared_ptr<PlayerScript> script) : s_(std::move(script)) { ++s_->made; }

  void SetSourceFile(const std::string& path) override { s_->calls.push_back("source " + path); }
  void ConvertToWav(const std::string& wavPath) override { s_->calls.push_back("convert " + wavPath); }
  bool Busy() const override { return s_->busy; }
  int64_t Position() const override { return s_->position; }
  int64_t Length() const override { return s_->length; }
  void Stop() override {
    s_->calls.push_back("stop");
    s_->busy = false;
  }
  void Play() override { s_->calls.push_back("play"); }

 private:
  std::shared_ptr<PlayerScript> s_;
};

}  // namespace korvalin::test
