#pragma once
// Reads a compiled help file: its default topic and any page or picture in it, by path.

#include <memory>
#include <optional>
#include <string>

struct chmFile;

namespace korvalin {

class ChmArchive {
 public:
  // Nothing when the file is missing or not a compiled help file.
  static std::unique_ptr<ChmArchive> Open(const std::string& path);
  ~ChmArchive();
  ChmArchive(const ChmArchive&) = delete;
  ChmArchive& operator=(const ChmArchive&) = delete;

  // The page the file opens at, as an object path ("/index.htm"); "/index.htm" when unsaid.
  std::string DefaultTopic() const { return defaultTopic_; }
  // The bytes of an object ("/page.htm", "/images/x.png"; letters in either case); nothing when
  // the file has no such object.
  std::optional<std::string> Read(const std::string& objectPath) const;

 private:
  explicit ChmArchive(chmFile* file) : file_(file) {}
  chmFile* file_;
  std::string defaultTopic_ = "/index.htm";
};

}  // namespace korvalin
