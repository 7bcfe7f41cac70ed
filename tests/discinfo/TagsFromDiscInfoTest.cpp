#include "discinfo/TagsFromDiscInfo.h"

#include <gtest/gtest.h>

namespace korvalin {
namespace {

TrackInfo Track(int number, const std::string& title, const std::string& artist = "", const std::string& isrc = "",
                const std::string& recordingId = "", const std::string& trackId = "") {
  TrackInfo track;
  track.number = number;
  track.title = title;
  track.artist = artist;
  track.isrc = isrc;
  track.recordingId = recordingId;
  track.trackId = trackId;
  return track;
}

DiscInfoCandidate TwoDiscAlbum() {
  DiscInfoCandidate info;
  info.source = "MusicBrainz";
  info.album = "Vector Anthology";
  info.artist = "Anna Vector";
  info.year = "1994-05-02";
  info.genre = "Rock";
  info.discNumber = 2;
  info.discCount = 3;
  info.releaseId = "release-1";
  info.releaseGroupId = "group-1";
  info.artistIds = {"artist-1", "artist-2"};
  info.tracks = {
      Track(1, "Opening", "", "GBAYE9400001", "rec-1", "trk-1"),
      Track(3, "Duet", "Guest Singer", "", "rec-3", "trk-3"),
  };
  return info;
}

TEST(TagsFromDiscInfo, EachTrackGetsTheAlbumsFieldsAndItsOwn) {
  const std::vector<TrackTags> tags = TagsFromDiscInfo(TwoDiscAlbum(), 4);
  ASSERT_EQ(tags.size(), 4u);
  struct Row {
    int index;
    std::string title, artist, isrc, recordingId, trackId;
  };
  for (const Row& row : {Row{0, "Opening", "Anna Vector", "GBAYE9400001", "rec-1", "trk-1"},
                         Row{1, "", "Anna Vector", "", "", ""},  // the information lists no track 2
                         Row{2, "Duet", "Guest Singer", "", "rec-3", "trk-3"},
                         Row{3, "", "Anna Vector", "", "", ""}}) {
    SCOPED_TRACE(row.index);
    const TrackTags& t = tags[static_cast<size_t>(row.index)];
    EXPECT_EQ(t.title, row.title);
    EXPECT_EQ(t.artist, row.artist);
    EXPECT_EQ(t.isrc, row.isrc);
    EXPECT_EQ(t.recordingId, row.recordingId);
    EXPECT_EQ(t.trackId, row.trackId);
    EXPECT_EQ(t.track, row.index + 1);
    EXPECT_EQ(t.trackCount, 4);
    EXPECT_EQ(t.album, "Vector Anthology");
    EXPECT_EQ(t.albumArtist, "Anna Vector");
    EXPECT_EQ(t.year, "1994-05-02");
    EXPECT_EQ(t.genre, "Rock");
    EXPECT_EQ(t.disc, 2);
    EXPECT_EQ(t.discCount, 3);
    EXPECT_EQ(t.albumId, "release-1");
    EXPECT_EQ(t.releaseGroupId, "group-1");
    EXPECT_EQ(t.artistId, "artist-1/artist-2");
  }
}

TEST(TagsFromDiscInfo, TheTrackCountComesFromTheDiscElseFromTheInformation) {
  DiscInfoCandidate odd = TwoDiscAlbum();
  odd.tracks.push_back(Track(0, "no number"));
  odd.tracks.push_back(Track(150, "beyond a CD"));
  DiscInfoCandidate countWithoutNumber = TwoDiscAlbum();
  countWithoutNumber.discNumber = 0;
  struct Row {
    const char* name;
    DiscInfoCandidate info;
    int discTracks;
    size_t tracks;
    int disc, discCount;
  };
  for (const Row& row : {Row{"the disc's count", TwoDiscAlbum(), 12, 12, 2, 3},
                         Row{"fewer tracks on the disc than listed", TwoDiscAlbum(), 2, 2, 2, 3},
                         Row{"the highest listed number", TwoDiscAlbum(), 0, 3, 2, 3},
                         Row{"numbers no CD has", odd, 0, 3, 2, 3},
                         Row{"a disc count without a disc number", countWithoutNumber, 3, 3, 0, 0},
                         Row{"no tracks at all", DiscInfoCandidate{}, 0, 0, 0, 0}}) {
    SCOPED_TRACE(row.name);
    const std::vector<TrackTags> tags = TagsFromDiscInfo(row.info, row.discTracks);
    ASSERT_EQ(tags.size(), row.tracks);
    for (const TrackTags& t : tags) {
      EXPECT_EQ(t.trackCount, static_cast<int>(row.tracks));
      EXPECT_EQ(t.disc, row.disc);
      EXPECT_EQ(t.discCount, row.discCount);
      EXPECT_NE(t.title, "beyond a CD");
      EXPECT_NE(t.title, "no number");
    }
  }
}

}  // namespace
}  // namespace korvalin
