#pragma once
// The File Finder's web search: the engines it knows, how the keywords go into an engine's
// query URL, and the blank start page its browser shows.

#include <optional>
#include <string>
#include <vector>

namespace korvalin {

// `MyString` with every occurrence of `ToFind` replaced by `ReplaceWith`, occurrences found
// ignoring letter case. The search resumes behind each replacement, so a replacement that holds
// `ToFind` is not replaced again ("aaa", "a", "aa" gives "aaaaaa"). An empty `ToFind` changes
// nothing.
std::string ReplaceString(const std::string& MyString, const std::string& ToFind, const std::string& ReplaceWith);

// The keywords as they go into a query: each blank becomes "+", and every byte other than a
// letter, digit, "-", "_", "." or "~" is percent-encoded, so that "&", "#", "%" and "+" reach the
// engine as typed instead of splitting or ending the query.
std::string EncodeKeywords(const std::string& keywords);

struct SearchEngine {
  const char* name;         // as it must be typed or chosen, letter case included
  const char* host;
  const char* path;
  const char* queryBefore;  // the query is queryBefore + encoded keywords + queryAfter
  const char* queryAfter;
};

// The engines, in the order the engine box lists them.
const std::vector<SearchEngine>& SearchEngines();

// "http://" + host + path + "?" + query for the engine of exactly this name; nothing for a name
// no engine has.
std::optional<std::string> SearchUrl(const std::string& engineName, const std::string& keywords);

inline constexpr const char* kInvalidEngineMessage = "Invalid Search Engine, Please enter a valid search engine";

inline constexpr const char* kStartPageName = "Templat1.htm";
// The name an older start page had; removed when the page is written.
inline constexpr const char* kOldStartPageName = "Templat1.html";

// The three lines of the blank start page.
std::string StartPageText();

// Where the start page goes for a program in `programFolder`: beside the program when it runs
// from its writable build folder, else in the user's cache folder.
std::string StartPagePath(const std::string& programFolder);

// Removes the older page beside `path`, then creates or overwrites the start page at `path`
// (making its folder when missing). False when the page could not be written.
bool WriteStartPage(const std::string& path);

}  // namespace korvalin
