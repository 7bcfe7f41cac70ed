#pragma once
// The crash reporter: names the exception that ended the program on standard error, then lets
// the system end the process as it would have.

#include <cstdint>

#include "platform/ExceptionFilter.h"

namespace korvalin {

// The exception's name: "Access Violation", "Integer Divide By Zero", ... or, for a code without
// one, "Unknown (&H" + eight upper-case hexadecimal digits + ")" written into `unknown`.
// Async-signal-safe: no allocation.
const char* ExceptionText(uint32_t code, char (&unknown)[32]);

// The record an exception chain began with: the innermost nested record.
const ExceptionRecord& InnermostRecord(const ExceptionRecord& record);

// The filter the main window installs: writes "Korvalin: unhandled exception: <name>" to
// standard error and returns kContinueSearch.
int32_t CrashReporterFilter(const ExceptionRecord& record);

}  // namespace korvalin
