#include "discinfo/CddbResponse.h"

#include <cctype>

namespace korvalin {

namespace {

// The body cut into lines at "\n", a "\r" before it dropped.
std::vector<std::string_view> LinesOf(std::string_view body) {
  std::vector<std::string_view> lines;
  std::size_t at = 0;
  while (at < body.size()) {
    std::size_t end = body.find('\n', at);
    if (end == std::string_view::npos) end = body.size();
    std::string_view line = body.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The first word of `text` and the rest after the blanks that follow it.
std::string_view TakeWord(std::string_view& text) {
  std::size_t end = 0;
  while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
  std::string_view word = text.substr(0, end);
  while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
  text.remove_prefix(end);
  return word;
}

// "category discid title", as in a 200 line or a list line; false when it is not one.
bool ParseMatch(std::string_view text, CddbMatch& match) {
  std::string_view rest = text;
  const std::string_view category = TakeWord(rest);
  const std::string_view id = TakeWord(rest);
  if (category.empty() || id.empty()) return false;
  for (char c : id) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  for (char c : category) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
  }
  match.category = std::string(category);
  match.discId = std::string(id);
  match.title = std::string(rest);
  return true;
}

std::string Quoted(const CddbResponse& r) {
  std::string text = r.text.substr(0, 80);
  return std::to_string(r.code) + (text.empty() ? "" : " " + text);
}

}  // namespace

CddbResponse ParseCddbResponse(std::string_view body) {
  CddbResponse r;
  const auto lines = LinesOf(body);
  if (lines.empty()) return r;
  const std::string_view first = lines[0];
  if (first.size() < 3 || !IsDigit(first[0]) || !IsDigit(first[1]) || !IsDigit(first[2]) ||
      (first.size() > 3 && first[3] != ' ')) {
    return r;
  }
  r.code = (first[0] - '0') * 100 + (first[1] - '0') * 10 + (first[2] - '0');
  r.text = std::string(first.size() > 4 ? first.substr(4) : std::string_view());
  if ((r.code / 10) % 10 != 1) return r;
  r.complete = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i] == ".") {
      r.complete = true;
      break;
    }
    r.lines.emplace_back(lines[i]);
  }
  return r;
}

CddbQueryResult ReadCddbQuery(std::string_view body) {
  CddbQueryResult result;
  const CddbResponse r = ParseCddbResponse(body);
  switch (r.code) {
    case 200: {
      CddbMatch match;
      if (ParseMatch(r.text, match)) {
        result.matches.push_back(match);
        result.exact = true;
      } else {
        result.problem = "the match cannot be read";
      }
      return result;
    }
    case 210:
    case 211: {
      if (!r.complete) {
        result.problem = "the list of matches was cut short";
        return result;
      }
      for (const auto& line : r.lines) {
        CddbMatch match;
        if (ParseMatch(line, match)) result.matches.push_back(match);
      }
      result.exact = r.code == 210;
      if (result.matches.empty()) result.problem = "the list of matches is empty";
      return result;
    }
    case 202:
      result.problem = "no entry for this disc";
      return result;
    case 403:
      result.problem = "the entry for this disc is corrupt";
      return result;
    case 0:
      result.problem = "the answer is not a CDDB answer";
      return result;
    default:
      result.problem = "query refused (" + Quoted(r) + ")";
      return result;
  }
}

CddbReadResult ReadCddbRead(std::string_view body) {
  CddbReadResult result;
  const CddbResponse r = ParseCddbResponse(body);
  if (r.code == 210) {
    if (!r.complete) {
      result.problem = "the entry was cut short";
      return result;
    }
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
      if (i) result.record += '\n';
      result.record += r.lines[i];
    }
    return result;
  }
  switch (r.code) {
    case 401: result.problem = "the listed entry cannot be found"; break;
    case 403: result.problem = "the entry for this disc is corrupt"; break;
    case 0: result.problem = "the answer is not a CDDB answer"; break;
    default: result.problem = "entry refused (" + Quoted(r) + ")"; break;
  }
  return result;
}

}  // namespace korvalin
