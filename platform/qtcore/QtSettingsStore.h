#pragma once
// The settings store over QSettings: one readable INI file per application name, in the
// folder "Korvalin" of the user's config folder ($XDG_CONFIG_HOME, else ~/.config), e.g.
// ~/.config/Korvalin/Korvalin v2.0.ini with one [section] per section.

#include <map>
#include <memory>
#include <string>

#include "platform/SettingsStore.h"

class QSettings;

namespace korvalin {

class QtSettingsStore : public SettingsStore {
 public:
  // The user's config folder.
  QtSettingsStore();
  // Another config folder in its place (tests use a temporary one).
  explicit QtSettingsStore(std::string configFolder);
  ~QtSettingsStore() override;
  QtSettingsStore(const QtSettingsStore&) = delete;
  QtSettingsStore& operator=(const QtSettingsStore&) = delete;

  std::string get(const std::string& application, const std::string& section, const std::string& key,
                  const std::string& defaultValue) override;
  // Raises the path/file access error when the file cannot be written.
  void save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& value) override;

  // The file that holds an application's settings.
  std::string FilePath(const std::string& application) const;

 private:
  QSettings& File(const std::string& application);

  std::string folder_;
  std::map<std::string, std::unique_ptr<QSettings>> files_;
};

}  // namespace korvalin
