#pragma once
// The settings store over QSettings: one readable INI file per application name, in the
// folder "Korvalin" of the user's config folder ($XDG_CONFIG_HOME, else ~/.config), e.g.
// ~/.config/Korvalin/Korvalin v2.0.ini with one [section] per section.
//
// A file that is there but cannot be read (no permission, a folder in its place) is never
// written: its values read as the defaults, a save raises an error that names it, and Problem()
// says what is wrong with it, so that the user can be told.

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

  // Returns the stored text, or the default when the key is absent or the file cannot be read.
  std::string get(const std::string& application, const std::string& section, const std::string& key,
                  const std::string& defaultValue) override;
  // Raises the path/file access error when the file cannot be written or could not be read.
  void save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& value) override;

  // The file that holds an application's settings.
  std::string FilePath(const std::string& application) const;
  // Why that file cannot be used, as a sentence for the user; "" when it can (or is not there yet).
  std::string Problem(const std::string& application);

 private:
  // The application's open file; nullptr when it is there but cannot be read (see problems_).
  QSettings* File(const std::string& application);

  std::string folder_;
  std::map<std::string, std::unique_ptr<QSettings>> files_;
  std::map<std::string, std::string> problems_;  // per application, found when its file is opened
};

}  // namespace korvalin
