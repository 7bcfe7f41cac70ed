#pragma once
// The online music database as a source: one request for the disc id, and when the database
// does not know the id, one request by the disc's table of contents.

#include "discinfo/DiscInfo.h"
#include "discinfo/OnlineSource.h"

namespace korvalin {

class MusicBrainzSource : public DiscInfoSource {
 public:
  MusicBrainzSource(HttpClient& http, EventLoop& loop, OnlineSourceOptions options);
  std::string Name() const override { return "MusicBrainz"; }
  SourceAnswer Look(const DiscQuery& disc, const std::function<bool()>& cancelled) override;

  // The address of the look-up by disc id, and by table of contents ("" for a disc without audio).
  std::string DiscIdUrl(const std::string& discId) const;
  std::string TocUrl(const DiscToc& toc) const;

 private:
  HttpClient& http_;
  EventLoop& loop_;
  OnlineSourceOptions options_;
};

}  // namespace korvalin
