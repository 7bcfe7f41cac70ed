#pragma once
// Which files the test process holds open: a batch is "between two files" when none of its
// outputs is open.

#include <string>

namespace korvalin::test {

// Whether any descriptor of this process refers to a file inside `folder`.
bool HoldsFileUnder(const std::string& folder);

}  // namespace korvalin::test
