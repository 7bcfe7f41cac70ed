#include "finder/InternetSearch.h"

#include <filesystem>
#include <fstream>

#include "common/RaisedError.h"
#include "common/Text.h"
#include "finder/frmsearch.h"
#include "platform/UserFolders.h"

namespace korvalin {

std::string ReplaceString(const std::string& MyString, const std::string& ToFind, const std::string& ReplaceWith) {
  if (ToFind.empty()) return MyString;
  std::string result = MyString;
  const std::string needle = LCase(ToFind);
  // Each span of the text as long as ToFind is compared lower-cased, so what is replaced is
  // always exactly the span that matched, whatever lower-casing does to a character's length.
  for (std::size_t at = 0; at + ToFind.size() <= result.size();) {
    if (LCase(std::string_view(result).substr(at, ToFind.size())) == needle) {
      result.replace(at, ToFind.size(), ReplaceWith);
      at += ReplaceWith.size();
    } else {
      ++at;
    }
  }
  return result;
}

std::string EncodeKeywords(const std::string& keywords) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(keywords.size() * 3);
  for (const char c : keywords) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte == '.' || byte == '~';
    if (unreserved || byte == ' ') {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return ReplaceString(encoded, " ", "+");
}

const std::vector<SearchEngine>& SearchEngines() {
  static const std::vector<SearchEngine> engines = {
      {"Yahoo", "search.yahoo.com", "/bin/search", "p=", ""},
      {"Goto", "www.goto.com", "/d/search/;$sessionid$KRV7Q2M4XW9TB3NH6PLD8ZA", "type=home&Keywords=", ""},
      {"Google", "www.google.com", "/search", "hl=en&q=", "&btnG=Google+Search"},
      // The engine reads its query with this suffix directly behind the keywords.
      {"Altavista", "www.altavista.com", "/sites/search/web", "q=", "=q&kl=XX&search=Search"},
      {"Go", "www.go.com", "/d/search/p/go/;$sessionid$GO5N1R8TC4VJ2WK7HQ3MY6B", "Keywords=", ""},
  };
  return engines;
}

std::optional<std::string> SearchUrl(const std::string& engineName, const std::string& keywords) {
  for (const SearchEngine& e : SearchEngines()) {
    if (engineName == e.name) {
      return std::string("http://") + e.host + e.path + "?" + e.queryBefore + EncodeKeywords(keywords) + e.queryAfter;
    }
  }
  return std::nullopt;
}

std::string StartPageText() {
  return "<html><head><title>title</title></head><body>\r\n"
         "\r\n"
         "</BODY></HTML>\r\n";
}

std::string StartPagePath(const std::string& programFolder) {
  return WritableProgramFolder(programFolder) + "/" + kStartPageName;
}

bool WriteStartPage(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path page(path);
  std::error_code ec;
  fs::remove(page.parent_path() / kOldStartPageName, ec);
  fs::create_directories(page.parent_path(), ec);
  std::ofstream out(page, std::ios::binary | std::ios::trunc);
  const std::string text = StartPageText();
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return static_cast<bool>(out);
}

// --- the "Internet Search" tab of the File Finder ---------------------------------------------

namespace {
constexpr int16_t kEnter = 13;
}

void frmsearch::ConnectInternetSearch() {
  window.OnActivate = [this] { Form_Activate(); };
  Cmdwebsearch.OnClick = [this] { Cmdwebsearch_Click(); };
  Text3.OnKeyPress = [this](int16_t& keyAscii) { Text3_KeyPress(keyAscii); };
}

void frmsearch::FillEngineBox() {
  search1.Clear();
  for (const SearchEngine& e : SearchEngines()) search1.AddItem(e.name);
}

void frmsearch::Form_Activate() {
  // A page that cannot be written still gets navigated to: the browser then shows its own
  // error page, and the window goes on working.
  const std::string page = StartPagePath(programFolder_);
  IgnoreErrors([&] { WriteStartPage(page); },
               [&] {
                 if (Web1) Web1->Navigate(page);
               });
}

void frmsearch::Cmdwebsearch_Click() { SearchTheWeb("Oops"); }

void frmsearch::Text3_KeyPress(int16_t& keyAscii) {
  if (keyAscii != kEnter) return;
  keyAscii = 0;
  SearchTheWeb("Opps");
  // The engine must be chosen again before the next search.
  IgnoreErrors([&] { search1.SetText(""); });
}

void frmsearch::SearchTheWeb(const char* invalidEngineTitle) {
  const std::optional<std::string> url = SearchUrl(search1.Text(), Text3.Text());
  if (!url) {
    IgnoreErrors([&] { dialogs_.MsgBox(kInvalidEngineMessage, MsgBoxButtons::OK, MsgBoxIcon::None, invalidEngineTitle); });
    return;
  }
  IgnoreErrors([&] {
    if (Web1) Web1->Navigate(*url);
  });
}

}  // namespace korvalin
