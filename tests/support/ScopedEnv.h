#pragma once
// Sets (or, with nullptr, removes) environment variables for one test and puts back what was
// there when the object goes.

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvalin::test {

class ScopedEnv {
 public:
  ScopedEnv() = default;
  ScopedEnv(const char* name, const char* value) { Set(name, value); }
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) ::setenv(it->first.c_str(), it->second->c_str(), 1);
      else ::unsetenv(it->first.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

  ScopedEnv& Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
    return *this;
  }
  ScopedEnv& Set(const char* name, const std::string& value) { return Set(name, value.c_str()); }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace korvalin::test
