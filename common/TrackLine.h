#pragma once
// The line of a CD track in the track lists ("Track  3 - 01:05"): made from the number and length
// the CD device answers, and read back by the jobs for the track number.

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvalin {

// "Track  3 - " + length: the line of a track in the track lists.
std::string TrackLine(int32_t track, const std::string& length);
// The track number of a track line: the numeric value of its characters 6 to 8.
int32_t TrackNumberOf(const std::string& line);
// The text of a reply buffer before its first NUL; "" when there is none.
std::string TextBeforeNul(const char* buffer, std::size_t length);

}  // namespace korvalin
