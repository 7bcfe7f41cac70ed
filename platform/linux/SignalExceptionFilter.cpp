#include "platform/linux/SignalExceptionFilter.h"

#include <signal.h>

#include <atomic>
#include <exception>

namespace korvalin {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGABRT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

std::atomic<UnhandledExceptionFilter> installed{nullptr};
struct sigaction previous[kSignalCount];
std::terminate_handler previousTerminate = nullptr;

void RunDefault(int signal) {
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  sigaction(signal, &dfl, nullptr);
  raise(signal);  // delivered once this handler returns, by the default action
}

void OnSignal(int signal, siginfo_t* info, void*) {
  if (UnhandledExceptionFilter filter = installed.load()) {
    ExceptionRecord record;
    record.ExceptionCode = ExceptionCodeOfSignal(signal, info ? info->si_code : 0);
    record.ExceptionFlags = 1;  // not continuable
    record.ExceptionAddress = info ? reinterpret_cast<uintptr_t>(info->si_addr) : 0;
    filter(record);
  }
  RunDefault(signal);
}

void OnTerminate() {
  if (UnhandledExceptionFilter filter = installed.load()) {
    ExceptionRecord record;
    record.ExceptionCode = kUncaughtCppException;
    record.ExceptionFlags = 1;
    filter(record);
    // The abort that follows is part of this same exception: do not name it twice.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigaction(SIGABRT, &dfl, nullptr);
  }
  if (previousTerminate) previousTerminate();
  std::abort();
}

}  // namespace

uint32_t ExceptionCodeOfSignal(int signal, int siCode) {
  switch (signal) {
    case SIGSEGV: return 0xC0000005;  // Access Violation
    case SIGBUS: return siCode == BUS_ADRALN ? 0x80000002 : 0xC0000006;
    case SIGILL: return siCode == ILL_PRVOPC || siCode == ILL_PRVREG ? 0xC0000096 : 0xC000001D;
    case SIGFPE:
      switch (siCode) {
        case FPE_INTDIV: return 0xC0000094;
        case FPE_INTOVF: return 0xC0000095;
        case FPE_FLTDIV: return 0xC000008E;
        case FPE_FLTOVF: return 0xC0000091;
        case FPE_FLTUND: return 0xC0000093;
        case FPE_FLTRES: return 0xC000008F;
        case FPE_FLTSUB: return 0xC000008C;
        default: return 0xC0000090;  // Invalid Operation
      }
    case SIGTRAP: return siCode == TRAP_TRACE ? 0x80000004 : 0x80000003;
    case SIGABRT: return 0xC0000025;  // Non Continuable Exception
    default: return 0;
  }
}

void SignalExceptionFilter::SetUnhandledExceptionFilter(UnhandledExceptionFilter filter) {
  const UnhandledExceptionFilter before = installed.exchange(filter);
  if (filter && !before) {
    struct sigaction action {};
    action.sa_sigaction = OnSignal;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &action, &previous[i]);
    previousTerminate = std::set_terminate(OnTerminate);
  } else if (!filter && before) {
    for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &previous[i], nullptr);
    std::set_terminate(previousTerminate);
    previousTerminate = nullptr;
  }
}

}  // namespace korvalin
