// korvalin-cli mp3info and tag: an MP3 file's header view as the Playlist Editor shows it, and
// the editor's tag writer.

#include <sys/stat.h>

#include <cstdio>
#include <exception>
#include <map>

#include "mp3/HeaderView.h"
#include "mp3/Id3v1Tag.h"
#include "mp3/Mp3Info.h"
#include "mp3/MpegAudioCheck.h"
#include "mp3/StagedTagWrite.h"
#include "platform/linux/TagLibTags.h"
#include "tools/ShowTags.h"
#include "tools/CliCommand.h"
#include "tools/CliFiles.h"

namespace korvalin::cli {
namespace {

constexpr long long kNoDataBytes = 99;

// The file's length, or a reason to refuse it.
bool CheckFile(const std::string& path, long long& length, std::string& why) {
  why = NotAFile(path);
  if (!why.empty()) return false;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    why = "no such file: " + path;
    return false;
  }
  length = st.st_size;
  if (length <= kNoDataBytes) {
    why = path + ": File contains no data";
    return false;
  }
  return true;
}

int Mp3InfoRun(const std::vector<std::string>& args) {
  try {
    if (args.size() != 1) return Fail("usage: mp3info FILE");
    long long length = 0;
    std::string why;
    if (!CheckFile(args[0], length, why)) return Fail(why);
    Mp3Info info;
    GetMp3Info(args[0], info);
    for (const auto& line : HeaderViewLines(info)) std::printf("%s\n", line.c_str());
    auto texts = TagBoxTexts(info);
    texts.push_back(LengthText(length));
    const auto& captions = TagBoxCaptions();
    for (std::size_t i = 0; i < captions.size(); ++i) std::printf("%s: %s\n", captions[i].c_str(), texts[i].c_str());
    return std::ferror(stdout) ? Fail("cannot print the header") : 0;
  } catch (const std::exception& e) {
    return Fail(args.empty() ? e.what() : args[0] + ": " + e.what());
  }
}

int TagRun(const std::vector<std::string>& args) {
  try {
    if (!args.empty() && args[0] == "--show") {
      if (args.size() != 2) return Fail("usage: tag --show FILE");
      long long length = 0;
      std::string why;
      if (!CheckFile(args[1], length, why)) return Fail(why);
      TagLibTags library;
      for (const std::string& line : TagLines(args[1], library)) std::printf("%s\n", line.c_str());
      return std::ferror(stdout) ? Fail("cannot print the tags") : 0;
    }
    std::map<std::string, std::string> given;
    std::string file;
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      if (a.rfind("--", 0) == 0) {
        static const char* const kOptions[] = {"--title", "--artist", "--album", "--year", "--comment", "--genre"};
        bool known = false;
        for (const char* o : kOptions) known = known || a == o;
        if (!known) return Fail("unknown option " + a);
        if (i + 1 >= args.size()) return Fail(a + " needs a value");
        given[a] = args[++i];
      } else if (file.empty()) {
        file = a;
      } else {
        return Fail("one FILE only");
      }
    }
    if (file.empty()) return Fail("usage: tag [--title T] [--artist A] [--album B] [--year Y] [--comment C] [--genre N] FILE");
    long long length = 0;
    std::string why;
    if (!CheckFile(file, length, why)) return Fail(why);
    // A tag appended to a WAV or a text file would damage it.
    if (!HoldsMpegAudio(file)) return Fail(file + " is not an MP3 file");

    // What is not given keeps the value the file's tag has now, as in the editor's boxes.
    Mp3Info info;
    GetMp3Info(file, info);
    const auto boxes = TagBoxTexts(info);
    Id3v1Fields fields{boxes[1], boxes[0], boxes[2], boxes[3], boxes[4], boxes[5]};
    auto take = [&](const char* option, std::string& field) {
      if (auto it = given.find(option); it != given.end()) field = it->second;
    };
    take("--title", fields.title);
    take("--artist", fields.artist);
    take("--album", fields.album);
    take("--year", fields.year);
    take("--comment", fields.comment);
    take("--genre", fields.genre);
    try {
      const std::string written = WriteId3v1TagStaged(file, fields);
      if (written != file) NoteRenamed(file, written);
    } catch (const std::exception& e) {
      return Fail("cannot write the tag to " + file + ": " + e.what());
    }
    return 0;
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

const CliRegistration mp3info({"mp3info", "FILE",
                               "Print an MP3 file's frame header (twelve lines) and ID3v1 tag fields.", Mp3InfoRun});
const CliRegistration tag({"tag", "[--title T] [--artist A] [--album B] [--year Y] [--comment C] [--genre N] FILE | --show FILE",
                           "Write an ID3v1 tag; fields not given keep their current value. A file without a tag "
                           "gets one appended. --show prints the file's ID3v2 frames and ID3v1 fields.",
                           TagRun});

}  // namespace
}  // namespace korvalin::cli
