#pragma once
// A settings store in memory that records the keys asked for, in order.

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/SettingsStore.h"

namespace korvalin::test {

class MemorySettingsStore : public SettingsStore {
 public:
  std::string get(const std::string& application, const std::string& section, const std::string& key,
                  const std::string& defaultValue) override {
    asked.push_back(key);
    auto it = values.find({application, section, key});
    return it == values.end() ? defaultValue : it->second;
  }
  void save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& value) override {
    values[{application, section, key}] = value;
  }

  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
  std::vector<std::string> asked;
};

}  // namespace korvalin::test
