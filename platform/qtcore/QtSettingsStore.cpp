#include "platform/qtcore/QtSettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

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

// Why an existing settings file cannot be read; "" when it can, or when it is not there yet.
std::string UnreadableReason(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? std::string() : std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return "a folder stands in its place";
  if (!S_ISREG(st.st_mode)) return "it is not a regular file";
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::strerror(errno);
  ::close(fd);
  return {};
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : QtSettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString()) {}

QtSettingsStore::QtSettingsStore(std::string configFolder) : folder_(std::move(configFolder)) {}

QtSettingsStore::~QtSettingsStore() = default;

std::string QtSettingsStore::FilePath(const std::string& application) const {
  return folder_ + "/" + kOrganisation + "/" + FileNameOf(application) + ".ini";
}

QSettings* QtSettingsStore::File(const std::string& application) {
  if (problems_.count(application) != 0) return nullptr;
  auto& file = files_[application];
  if (!file) {
    // The file is checked before it is handed to QSettings, which would read a FIFO forever and
    // would write a file it could not read.
    const std::string path = FilePath(application);
    const std::string reason = UnreadableReason(path);
    if (!reason.empty()) {
      problems_[application] = "The settings file \"" + path + "\" cannot be read (" + reason +
                               "). The default settings are used, and changes are not saved until the file can be read.";
      files_.erase(application);
      return nullptr;
    }
    file = std::make_unique<QSettings>(Q(path), qtcore::ReadableIniFormat());
  }
  return file.get();
}

std::string QtSettingsStore::Problem(const std::string& application) {
  File(application);
  const auto found = problems_.find(application);
  return found == problems_.end() ? std::string() : found->second;
}

std::string QtSettingsStore::get(const std::string& application, const std::string& section, const std::string& key,
                                 const std::string& defaultValue) {
  QSettings* file = File(application);
  if (!file) return defaultValue;
  const QVariant v = file->value(KeyPath(section, key));
  if (!v.isValid()) return defaultValue;
  return v.toString().toStdString();
}

void QtSettingsStore::save(const std::string& application, const std::string& section, const std::string& key,
                           const std::string& value) {
  QSettings* file = File(application);
  // Writing would replace a file that could not be read with the defaults and this one value.
  if (!file) throw RaisedError(errnum::PathFileAccessError, problems_[application]);
  file->setValue(KeyPath(section, key), Q(value));
  file->sync();
  if (file->status() != QSettings::NoError) throw RaisedError::Of(errnum::PathFileAccessError);
}

}  // namespace korvalin
