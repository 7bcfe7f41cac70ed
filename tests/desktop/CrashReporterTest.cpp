#include "desktop/CrashReporter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <stdexcept>

#include "platform/linux/SignalExceptionFilter.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

TEST(CrashReporter, NamesCodesFromItsTableAndSpellsOutTheRest) {
  char unknown[32];
  EXPECT_STREQ(ExceptionText(0xC0000005, unknown), "Access Violation");
  EXPECT_STREQ(ExceptionText(0xC0000094, unknown), "Integer Divide By Zero");
  EXPECT_STREQ(ExceptionText(0x80000001, unknown), "Guard Page Violation");
  EXPECT_STREQ(ExceptionText(0xC000013A, unknown), "Control-C Exit");
  EXPECT_STREQ(ExceptionText(0xE06D7363, unknown), "Unknown (&HE06D7363)");
  EXPECT_STREQ(ExceptionText(0x1A, unknown), "Unknown (&H0000001A)");
}

TEST(CrashReporter, NamesAChainOfExceptionsByItsInnermostRecord) {
  ExceptionRecord inner{0xC0000094, 0, nullptr, 0};
  ExceptionRecord middle{0xC0000005, 0, &inner, 0};
  ExceptionRecord outer{0xC0000025, 1, &middle, 0};
  EXPECT_EQ(InnermostRecord(outer).ExceptionCode, 0xC0000094u);
  EXPECT_EQ(&InnermostRecord(inner), &inner);
}

// Runs `crash` in a child process with its standard error going to a file.
struct ChildEnd {
  int signal = 0;
  std::string err;
};

ChildEnd RunChild(const std::function<void()>& crash) {
  test::TempDir dir;
  const std::string errPath = dir / "err";
  const pid_t pid = ::fork();
  if (pid == 0) {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    const int fd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, STDERR_FILENO);
    crash();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return {WIFSIGNALED(status) ? WTERMSIG(status) : 0, test::ReadFile(errPath)};
}

__attribute__((no_sanitize("null"), noinline)) void StoreThroughNull() {
  volatile int* volatile p = nullptr;
  *p = 1;
}

__attribute__((no_sanitize("integer-divide-by-zero"), noinline)) int Divide(int a, int b) { return a / b; }

__attribute__((noinline)) void Throw() { throw std::runtime_error("nobody catches this"); }
// Thrown where nothing can catch it: through a function that promises not to throw.
__attribute__((noinline)) void ThrowPastNoexcept() noexcept { Throw(); }

TEST(CrashReporter, AFaultIsNamedAndTheProcessStillDiesOfIt) {
  const ChildEnd segv = RunChild([] {
    SignalExceptionFilter filter;
    filter.SetUnhandledExceptionFilter(CrashReporterFilter);
    StoreThroughNull();
  });
  EXPECT_EQ(segv.signal, SIGSEGV);
  EXPECT_EQ(segv.err, "Korvalin: unhandled exception: Access Violation\n");

  const ChildEnd fpe = RunChild([] {
    SignalExceptionFilter filter;
    filter.SetUnhandledExceptionFilter(CrashReporterFilter);
    volatile int zero = 0, seven = 7;
    std::printf("%d", Divide(seven, zero));
  });
  EXPECT_EQ(fpe.signal, SIGFPE);
  EXPECT_EQ(fpe.err, "Korvalin: unhandled exception: Integer Divide By Zero\n");
}

TEST(CrashReporter, AnEscapingExceptionIsNamedOnce) {
  const ChildEnd end = RunChild([] {
    SignalExceptionFilter filter;
    filter.SetUnhandledExceptionFilter(CrashReporterFilter);
    ThrowPastNoexcept();
  });
  EXPECT_EQ(end.signal, SIGABRT);
  EXPECT_NE(end.err.find("Korvalin: unhandled exception: Unknown (&HE06D7363)\n"), std::string::npos);
  EXPECT_EQ(end.err.find("Non Continuable"), std::string::npos);
}

TEST(CrashReporter, AfterRemovalTheSystemsDefaultApplies) {
  const ChildEnd end = RunChild([] {
    SignalExceptionFilter filter;
    filter.SetUnhandledExceptionFilter(CrashReporterFilter);
    filter.SetUnhandledExceptionFilter(nullptr);
    StoreThroughNull();
  });
#if defined(__SANITIZE_ADDRESS__)
  EXPECT_NE(end.err.find("AddressSanitizer"), std::string::npos);  // the sanitizer's handler is the default here
#else
  EXPECT_EQ(end.signal, SIGSEGV);
#endif
  EXPECT_EQ(end.err.find("Korvalin:"), std::string::npos);
}

}  // namespace
}  // namespace korvalin
