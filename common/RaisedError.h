#pragma once
// The one error type the program raises: number, description and source, as the run-time
// reports them to a caller. Operations that "ignore errors step by step" use IgnoreErrors.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace korvalin {

// The run-time's error numbers that the program meets.
namespace errnum {
inline constexpr int32_t InvalidArgument = 5;    // "Invalid procedure call or argument"
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t BadFileName = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t FileAlreadyOpen = 55;
inline constexpr int32_t DeviceIoError = 57;
inline constexpr int32_t FileAlreadyExists = 58;
inline constexpr int32_t DiskFull = 61;
inline constexpr int32_t TooManyFiles = 67;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccessError = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t InvalidPropertyValue = 380;
}  // namespace errnum

// The run-time's standard description of an error number ("" for numbers it has none for).
std::string ErrorDescription(int32_t number);

class RaisedError : public std::runtime_error {
 public:
  RaisedError(int32_t number, std::string description, std::string source = {})
      : std::runtime_error(description), number_(number), description_(std::move(description)),
        source_(std::move(source)) {}

  // An error with the run-time's standard description of its number.
  static RaisedError Of(int32_t number, std::string source = {}) {
    return RaisedError(number, ErrorDescription(number), std::move(source));
  }

  int32_t Number() const { return number_; }
  const std::string& Description() const { return description_; }
  const std::string& Source() const { return source_; }

  // The same error, passed on under another source name.
  RaisedError WithSource(std::string source) const { return RaisedError(number_, description_, std::move(source)); }

 private:
  int32_t number_;
  std::string description_;
  std::string source_;
};

// The error an operating-system failure (an errno value) stands for.
RaisedError ErrorFromErrno(int err, std::string source = {});

// Runs each step in turn; a step that fails is skipped and the next one runs.
template <typename... Steps>
void IgnoreErrors(Steps&&... steps) {
  auto run = [](auto&& step) {
    try {
      step();
    } catch (const std::exception&) {
    }
  };
  (run(std::forward<Steps>(steps)), ...);
}

}  // namespace korvalin
