#include "platform/linux/TagLibTags.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/taglib.h>
#include <taglib/tbytevector.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfile.h>
#include <taglib/uniquefileidentifierframe.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <memory>

#include "platform/linux/RegularFile.h"

namespace korvalin {
namespace {

using TagLib::ByteVector;
using TagLib::String;
using TagLib::StringList;
namespace ID3v2 = TagLib::ID3v2;

String Text(const std::string& utf8) { return String(utf8, String::UTF8); }
std::string Utf8(const String& text) { return text.to8Bit(true); }

// "n/N", "n", or "" when the number is not given. A count without a number says nothing.
std::string NumberOf(int n, int count) {
  if (n <= 0) return "";
  return count > 0 ? std::to_string(n) + "/" + std::to_string(count) : std::to_string(n);
}

// Reads "n/N" or "n"; what is not a number stays 0.
void ParseNumberOf(const std::string& text, int& n, int& count) {
  auto number = [](std::string_view part) {
    int value = 0;
    const auto* first = part.data();
    while (first != part.data() + part.size() && *first == ' ') ++first;
    std::from_chars(first, part.data() + part.size(), value);
    return value > 0 ? value : 0;
  };
  const auto slash = text.find('/');
  n = number(std::string_view(text).substr(0, slash));
  count = slash == std::string::npos ? 0 : number(std::string_view(text).substr(slash + 1));
  // "of N" alone says nothing a tag can carry (the tag writes no count without its number).
  if (n == 0) count = 0;
}

// A TagLib file over a block of bytes, only so that a tag can be parsed from it.
class ByteBlockFile : public TagLib::File {
 public:
  explicit ByteBlockFile(TagLib::IOStream* stream) : TagLib::File(stream) {}
  TagLib::Tag* tag() const override { return nullptr; }
  TagLib::AudioProperties* audioProperties() const override { return nullptr; }
  bool save() override { return false; }
};

class FrameAdder {
 public:
  FrameAdder(ID3v2::Tag& tag, String::Type encoding) : tag_(tag), encoding_(encoding) {}

  void TextFrame(const char* id, const std::string& text) {
    if (text.empty()) return;
    auto frame = std::make_unique<ID3v2::TextIdentificationFrame>(ByteVector(id), encoding_);
    frame->setText(Text(text));
    tag_.addFrame(frame.release());
  }
  void UserText(const char* description, const std::string& text) {
    if (text.empty()) return;
    tag_.addFrame(new ID3v2::UserTextIdentificationFrame(Text(description), StringList(Text(text)), encoding_));
  }
  void Comment(const std::string& text) {
    if (text.empty()) return;
    auto frame = std::make_unique<ID3v2::CommentsFrame>(encoding_);
    frame->setLanguage("eng");
    frame->setText(Text(text));
    tag_.addFrame(frame.release());
  }
  void FileIdentifier(const char* owner, const std::string& id) {
    if (id.empty()) return;
    tag_.addFrame(new ID3v2::UniqueFileIdentifierFrame(Text(owner), ByteVector(id.data(), id.size())));
  }

 private:
  ID3v2::Tag& tag_;
  String::Type encoding_;
};

// The frame as the user sees it: the id (with the description where a frame may appear more than
// once under one id) and its text.
TagFrameText Shown(const ID3v2::Frame& frame) {
  const std::string id(frame.frameID().data(), frame.frameID().size());
  if (const auto* user = dynamic_cast<const ID3v2::UserTextIdentificationFrame*>(&frame)) {
    StringList values = user->fieldList();
    if (!values.isEmpty()) values.erase(values.begin());  // the description
    return {id + ":" + Utf8(user->description()), Utf8(values.toString("; "))};
  }
  if (const auto* comment = dynamic_cast<const ID3v2::CommentsFrame*>(&frame)) {
    const std::string description = Utf8(comment->description());
    return {description.empty() ? id : id + ":" + description, Utf8(comment->text())};
  }
  if (const auto* ufid = dynamic_cast<const ID3v2::UniqueFileIdentifierFrame*>(&frame)) {
    const ByteVector identifier = ufid->identifier();
    return {id + ":" + Utf8(ufid->owner()), std::string(identifier.data(), identifier.size())};
  }
  if (const auto* text = dynamic_cast<const ID3v2::TextIdentificationFrame*>(&frame)) {
    return {id, Utf8(text->fieldList().toString("; "))};
  }
  return {id, Utf8(frame.toString())};
}

// Takes what a frame says of the track into `tags`.
void Take(const ID3v2::Frame& frame, TrackTags& tags) {
  const std::string id(frame.frameID().data(), frame.frameID().size());
  if (const auto* user = dynamic_cast<const ID3v2::UserTextIdentificationFrame*>(&frame)) {
    const StringList values = user->fieldList();
    const std::string value = values.size() > 1 ? Utf8(values[1]) : "";
    const std::string description = Utf8(user->description());
    if (description == kAlbumIdDescription) tags.albumId = value;
    if (description == kArtistIdDescription) tags.artistId = value;
    if (description == kReleaseGroupIdDescription) tags.releaseGroupId = value;
    if (description == kTrackIdDescription) tags.trackId = value;
    return;
  }
  if (const auto* comment = dynamic_cast<const ID3v2::CommentsFrame*>(&frame)) {
    if (tags.comment.empty()) tags.comment = Utf8(comment->text());
    return;
  }
  if (const auto* ufid = dynamic_cast<const ID3v2::UniqueFileIdentifierFrame*>(&frame)) {
    if (Utf8(ufid->owner()) == kMusicDatabaseUfidOwner) {
      const ByteVector identifier = ufid->identifier();
      tags.recordingId.assign(identifier.data(), identifier.size());
    }
    return;
  }
  const auto* text = dynamic_cast<const ID3v2::TextIdentificationFrame*>(&frame);
  if (!text) return;
  const std::string value = Utf8(text->toString());
  if (id == "TIT2") tags.title = value;
  if (id == "TPE1") tags.artist = value;
  if (id == "TALB") tags.album = value;
  if (id == "TPE2") tags.albumArtist = value;
  if (id == "TDRC" || (id == "TYER" && tags.year.empty())) tags.year = value;
  if (id == "TCON") tags.genre = value;
  if (id == "TSRC") tags.isrc = value;
  if (id == "TRCK") ParseNumberOf(value, tags.track, tags.trackCount);
  if (id == "TPOS") ParseNumberOf(value, tags.disc, tags.discCount);
}

}  // namespace

std::vector<uint8_t> TagLibTags::RenderId3v2(const TrackTags& tags, Id3v2Version version) {
  if (tags.Empty()) return {};
  ID3v2::Tag tag;
  // TagLib widens ISO-8859-1 to UTF-16 (v2.3) frame by frame where a text needs it.
  FrameAdder add(tag, version == Id3v2Version::v4 ? String::UTF8 : String::Latin1);
  add.TextFrame("TIT2", tags.title);
  add.TextFrame("TPE1", tags.artist);
  add.TextFrame("TALB", tags.album);
  add.TextFrame("TPE2", tags.albumArtist);
  add.TextFrame("TDRC", tags.year);  // rendered as TYER (and TDAT) in a v2.3 tag
  add.TextFrame("TCON", tags.genre);
  add.TextFrame("TRCK", NumberOf(tags.track, tags.trackCount));
  add.TextFrame("TPOS", NumberOf(tags.disc, tags.discCount));
  add.TextFrame("TSRC", tags.isrc);
  add.Comment(tags.comment);
  add.UserText(kAlbumIdDescription, tags.albumId);
  add.UserText(kArtistIdDescription, tags.artistId);
  add.UserText(kReleaseGroupIdDescription, tags.releaseGroupId);
  add.UserText(kTrackIdDescription, tags.trackId);
  add.FileIdentifier(kMusicDatabaseUfidOwner, tags.recordingId);
  const ByteVector rendered = tag.render(version == Id3v2Version::v4 ? ID3v2::v4 : ID3v2::v3);
  return std::vector<uint8_t>(rendered.begin(), rendered.end());
}

Id3v2Reading TagLibTags::ReadId3v2(const std::vector<uint8_t>& bytes) {
  Id3v2Reading reading;
  const ByteVector data(reinterpret_cast<const char*>(bytes.data()), static_cast<unsigned int>(bytes.size()));
  if (data.size() < ID3v2::Header::size() || !data.startsWith(ID3v2::Header::fileIdentifier())) return reading;
  reading.present = true;
  const ID3v2::Header header(data.mid(0, ID3v2::Header::size()));
  reading.version = static_cast<int>(header.majorVersion());
  // A tag that claims more bytes than there are, or of a version TagLib does not parse, is damaged.
  if (reading.version < 2 || reading.version > 4 || header.completeTagSize() > data.size()) return reading;

  TagLib::ByteVectorStream stream(data);
  ByteBlockFile file(&stream);
  const ID3v2::Tag tag(&file, 0);
  reading.readable = true;
  for (const ID3v2::Frame* frame : tag.frameList()) {
    reading.frames.push_back(Shown(*frame));
    Take(*frame, reading.tags);
  }
  return reading;
}

Id3v2Reading TagLibTags::ReadId3v2File(const std::string& path) {
  const RegularFile file = OpenRegularFile(path);
  if (file.fd < 0) return {};
  // The header says how long the tag is; only those bytes are read.
  std::vector<uint8_t> bytes(10);
  ssize_t got = pread(file.fd, bytes.data(), bytes.size(), 0);
  if (got == static_cast<ssize_t>(bytes.size()) && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3') {
    const ID3v2::Header header(ByteVector(reinterpret_cast<const char*>(bytes.data()), 10));
    const int64_t wanted = std::min<int64_t>(header.completeTagSize(), file.size);
    bytes.resize(static_cast<size_t>(std::max<int64_t>(wanted, 10)));
    got = pread(file.fd, bytes.data(), bytes.size(), 0);
  }
  close(file.fd);
  bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return ReadId3v2(bytes);
}

std::string TagLibTags::VersionText() {
  return "TagLib " + std::to_string(TAGLIB_MAJOR_VERSION) + "." + std::to_string(TAGLIB_MINOR_VERSION) + "." +
         std::to_string(TAGLIB_PATCH_VERSION);
}

}  // namespace korvalin
