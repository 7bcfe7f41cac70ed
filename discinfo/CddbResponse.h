#pragma once
// The answers of a CDDB server (over HTTP): a status line of three digits and a text, and for
// codes whose middle digit is 1 a list of lines ending with a line holding only ".".

#include <string>
#include <string_view>
#include <vector>

namespace korvalin {

struct CddbResponse {
  int code = 0;                    // 0: not a CDDB answer at all
  std::string text;                // the rest of the status line
  std::vector<std::string> lines;  // the list, without its closing "."
  bool complete = true;            // false: a list that never reached its "."
};

// Never throws; a body that does not begin with a status line gives code 0.
CddbResponse ParseCddbResponse(std::string_view body);

// One entry that a query found: its category (the database's folder) and its disc id.
struct CddbMatch {
  std::string category;
  std::string discId;
  std::string title;  // "Artist / Album" as the list shows it
};

struct CddbQueryResult {
  std::vector<CddbMatch> matches;
  bool exact = false;   // 200 or 210
  std::string problem;  // why there are no matches, in plain words; empty when there are some
};

// The answer to "cddb query": 200 (one exact match), 210 (exact matches), 211 (close matches),
// 202 (none), 403 (the entry is corrupt), 409/5xx (refused).
CddbQueryResult ReadCddbQuery(std::string_view body);

struct CddbReadResult {
  std::string record;   // the xmcd record's lines, joined with "\n"
  std::string problem;  // empty when there is a record
};

// The answer to "cddb read": 210 with the record, or 401/402/403/409/5xx.
CddbReadResult ReadCddbRead(std::string_view body);

}  // namespace korvalin
