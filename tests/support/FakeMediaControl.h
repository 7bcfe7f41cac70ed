#pragma once
// The media control interface with a disc of our choosing: it answers the "cd" commands the
// program sends from a list of track lengths, and records every command in order.

#include <string>
#include <vector>

#include "platform/MediaControl.h"

namespace korvalin::test {

class FakeMediaControl : public MediaControl {
 public:
  int32_t SendCommand(std::string_view command, char* reply, std::size_t replyLength) override;
  void SelectDrive(int32_t index) override { chosenDrives.push_back(index); }

  // The disc: its identity text and track lengths in milliseconds. No disc: open fails.
  bool discPresent = true;
  std::string identity = "1234567";
  std::vector<int32_t> trackMs;
  // Tracks (1-based) that are data tracks; the rest are audio.
  std::vector<int> dataTracks;

  std::vector<std::string> commands;  // every command, in order
  std::vector<int32_t> chosenDrives;  // every drive chosen, in order

 private:
  bool open_ = false;
  bool hms_ = false;
};

}  // namespace korvalin::test
