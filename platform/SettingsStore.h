#pragma once
// The per-user settings store: text values addressed by application, section and key. The
// program reads every value as text and converts it itself.

#include <string>

namespace korvalin {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text, or `defaultValue` when the key is absent.
  virtual std::string get(const std::string& application, const std::string& section, const std::string& key,
                          const std::string& defaultValue) = 0;

  // Creates the application, section and key as needed and replaces the value. The value is on
  // disk when the call returns.
  virtual void save(const std::string& application, const std::string& section, const std::string& key,
                    const std::string& value) = 0;
};

}  // namespace korvalin
