#pragma once
// The encoder library's error codes as the user sees them.

#include <cstdint>
#include <string>

namespace korvalin {

// "No Error", "Invalid format", "Invalid format parameters", "No more handles",
// "Invalid handle", "Buffer too small" for codes 0 to 5; an empty text for any other code.
std::string EncoderErrorText(int32_t code);

// A non-zero result of the encoder is raised as the error the caller's handler shows: that
// number, its text, source "Lame". 0 returns.
void RaiseIfEncoderFailed(int32_t code);

// The title of the message box that reports an encoder failure.
inline constexpr const char* kCriticalErrorTitle = "Critical error...";

}  // namespace korvalin
