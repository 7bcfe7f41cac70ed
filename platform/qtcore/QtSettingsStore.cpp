#include "platform/qtcore/QtSettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

#include "common/RaisedError.h"
#include "platform/qtcore/ReadableIni.h"

namespace korvalin {
namespace {

constexpr const char* kOrganisation = "Korvalin";

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A name that is safe as one file name: a "/" would reach into another folder.
std::string FileNameOf(const std::string& application) {
  std::string name = application;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name.empty() || name == "." || name == ".." ? "_" + name : name;
}

QString KeyPath(const std::string& section, const std::string& key) { return Q(section) + u'/' + Q(key); }

}  // namespace

QtSettingsStore::QtSettingsStore()
    : QtSettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString()) {}

QtSettingsStore::QtSettingsStore(std::string configFolder) : folder_(std::move(configFolder)) {}

QtSettingsStore::~QtSettingsStore() = default;

std::string QtSettingsStore::FilePath(const std::string& application) const {
  return folder_ + "/" + kOrganisation + "/" + FileNameOf(application) + ".ini";
}

QSettings& QtSettingsStore::File(const std::string& application) {
  auto& file = files_[application];
  if (!file) file = std::make_unique<QSettings>(Q(FilePath(application)), qtcore::ReadableIniFormat());
  return *file;
}

std::string QtSettingsStore::get(const std::string& application, const std::string& section, const std::string& key,
                                 const std::string& defaultValue) {
  const QVariant v = File(application).value(KeyPath(section, key));
  if (!v.isValid()) return defaultValue;
  return v.toString().toStdString();
}

void QtSettingsStore::save(const std::string& application, const std::string& section, const std::string& key,
                           const std::string& value) {
  QSettings& file = File(application);
  file.setValue(KeyPath(section, key), Q(value));
  file.sync();
  if (file.status() != QSettings::NoError) throw RaisedError::Of(errnum::PathFileAccessError);
}

}  // namespace korvalin
