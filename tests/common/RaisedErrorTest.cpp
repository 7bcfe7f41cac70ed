#include "common/RaisedError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace korvalin {
namespace {

TEST(IgnoreErrors, RunsEveryStepEvenAfterOneFails) {
  std::vector<int> ran;
  IgnoreErrors([&] { ran.push_back(1); }, [&] { throw RaisedError::Of(errnum::Overflow); },
               [&] { ran.push_back(3); }, [&] { throw std::runtime_error("x"); }, [&] { ran.push_back(5); });
  EXPECT_EQ(ran, (std::vector<int>{1, 3, 5}));
}

TEST(RaisedError, CarriesNumberDescriptionAndSource) {
  const RaisedError e = ErrorFromErrno(EACCES, "p_DestroyFile");
  EXPECT_EQ(e.Number(), errnum::PermissionDenied);
  EXPECT_EQ(e.Description(), "Permission denied");
  EXPECT_EQ(e.Source(), "p_DestroyFile");
  EXPECT_STREQ(e.what(), "Permission denied");
  EXPECT_EQ(e.WithSource("other").Source(), "other");
  EXPECT_EQ(ErrorFromErrno(ENOENT).Number(), errnum::FileNotFound);
  EXPECT_EQ(ErrorFromErrno(ENOSPC).Description(), "Disk full");
}

}  // namespace
}  // namespace korvalin
