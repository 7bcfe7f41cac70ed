#pragma once
// The process's filter for exceptions nothing else handles: faults (invalid memory access,
// illegal instructions, arithmetic traps, aborts) and C++ exceptions that escape. The filter sees
// the exception record and returns 0, which lets the system go on to its default handling.

#include <cstdint>

namespace korvalin {

struct ExceptionRecord {
  uint32_t ExceptionCode = 0;
  uint32_t ExceptionFlags = 0;
  const ExceptionRecord* NestedRecord = nullptr;  // the exception this one arose from, if any
  uintptr_t ExceptionAddress = 0;
};

// The filter's answer that hands the exception on to the system's default handling.
inline constexpr int32_t kContinueSearch = 0;

// A filter runs inside a signal handler: it may use only async-signal-safe calls.
using UnhandledExceptionFilter = int32_t (*)(const ExceptionRecord& record);

class ExceptionFilterService {
 public:
  virtual ~ExceptionFilterService() = default;
  // Installs `filter` for the whole process; nullptr removes it and restores the system default.
  virtual void SetUnhandledExceptionFilter(UnhandledExceptionFilter filter) = 0;
};

}  // namespace korvalin
