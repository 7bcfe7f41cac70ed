#pragma once
// The CDDB database over HTTP as a source: "cddb query" with the disc's id and table of
// contents, then "cddb read" of each entry it lists (the first few), in UTF-8 (protocol 6).

#include "discinfo/DiscInfo.h"
#include "discinfo/OnlineSource.h"

namespace korvalin {

struct GnudbOptions : OnlineSourceOptions {
  // The "hello" the protocol asks for. Neither the user's login nor the machine's name is sent.
  std::string helloUser = "anonymous";
  std::string helloHost = "localhost";
  std::size_t mostEntriesRead = 3;  // each entry costs a request
};

class GnudbSource : public DiscInfoSource {
 public:
  GnudbSource(HttpClient& http, EventLoop& loop, GnudbOptions options);
  std::string Name() const override { return "gnudb"; }
  SourceAnswer Look(const DiscQuery& disc, const std::function<bool()>& cancelled) override;

  std::string QueryUrl(const DiscQuery& disc) const;
  std::string ReadUrl(const std::string& category, const std::string& discId) const;

 private:
  std::string Command(const std::string& command) const;

  HttpClient& http_;
  EventLoop& loop_;
  GnudbOptions options_;
};

}  // namespace korvalin
