#include "platform/linux/ChmArchive.h"

#include <chm_lib.h>

#include <cstring>

namespace korvalin {
namespace {

// The /#SYSTEM object: a 4-byte version, then records of a 16-bit code, a 16-bit length and that
// many bytes. Record 2 holds the default topic as a NUL-terminated text.
std::string DefaultTopicOf(const std::string& system) {
  std::size_t at = 4;
  while (at + 4 <= system.size()) {
    const unsigned code = static_cast<unsigned char>(system[at]) | static_cast<unsigned char>(system[at + 1]) << 8;
    const unsigned length = static_cast<unsigned char>(system[at + 2]) | static_cast<unsigned char>(system[at + 3]) << 8;
    at += 4;
    if (at + length > system.size()) break;
    if (code == 2) {
      std::string topic = system.substr(at, length);
      topic = topic.substr(0, topic.find('\0'));
      if (!topic.empty()) return topic[0] == '/' ? topic : "/" + topic;
    }
    at += length;
  }
  return {};
}

}  // namespace

std::unique_ptr<ChmArchive> ChmArchive::Open(const std::string& path) {
  chmFile* file = chm_open(path.c_str());
  if (!file) return nullptr;
  std::unique_ptr<ChmArchive> archive(new ChmArchive(file));
  if (auto system = archive->Read("/#SYSTEM")) {
    const std::string topic = DefaultTopicOf(*system);
    if (!topic.empty()) archive->defaultTopic_ = topic;
  }
  return archive;
}

ChmArchive::~ChmArchive() { chm_close(file_); }

std::optional<std::string> ChmArchive::Read(const std::string& objectPath) const {
  chmUnitInfo unit{};
  const std::string path = !objectPath.empty() && objectPath[0] == '/' ? objectPath : "/" + objectPath;
  if (chm_resolve_object(file_, path.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(unit.length), '\0');
  if (unit.length == 0) return bytes;
  const LONGINT64 got = chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                            static_cast<LONGINT64>(unit.length));
  if (got != static_cast<LONGINT64>(unit.length)) return std::nullopt;
  return bytes;
}

}  // namespace korvalin
