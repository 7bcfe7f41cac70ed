#pragma once
// The unhandled-exception filter over POSIX signals and std::terminate. A fault signal (SIGSEGV,
// SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGABRT) or an escaping C++ exception becomes an exception
// record for the filter; afterwards the signal's default action runs, so the process ends exactly
// as it would have without the filter.

#include "platform/ExceptionFilter.h"

namespace korvalin {

class SignalExceptionFilter : public ExceptionFilterService {
 public:
  void SetUnhandledExceptionFilter(UnhandledExceptionFilter filter) override;
  ~SignalExceptionFilter() override { SetUnhandledExceptionFilter(nullptr); }
};

// The exception code a fault signal stands for (by its si_code where that tells more).
uint32_t ExceptionCodeOfSignal(int signal, int siCode);
// The code given to a C++ exception that nothing caught.
inline constexpr uint32_t kUncaughtCppException = 0xE06D7363;

}  // namespace korvalin
