#include "rip/TrackChecksums.h"

#include <gtest/gtest.h>

#include "platform/linux/CdioLibrary.h"
#include "platform/linux/LibDiscId.h"
#include "rip/DiscIds.h"
#include "rip/ExtractTrackToWav.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

// The checksums as the database's maintainers define them, pair by pair over the whole track.
struct Reference {
  uint32_t crc = 0, v1 = 0, v2 = 0;
};

Reference ReferenceOf(const std::string& pcm, bool firstTrack, bool lastTrack) {
  Reference r;
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : pcm) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  r.crc = ~crc;
  const uint64_t n = pcm.size() / 4;
  const uint64_t start = firstTrack ? 2940 : 1, end = lastTrack ? n - 2940 : n;
  for (uint64_t m = 1; m <= n; ++m) {
    if (m < start || m > end) continue;
    const auto* p = reinterpret_cast<const unsigned char*>(pcm.data() + 4 * (m - 1));
    const uint64_t v = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint64_t>(p[3]) << 24;
    const uint64_t product = v * m;
    r.v1 += static_cast<uint32_t>(product);
    r.v2 += static_cast<uint32_t>(product) + static_cast<uint32_t>(product >> 32);
  }
  return r;
}

TEST(TrackChecksums, RippedTracksOfAnImageMatchTheDefinitionFirstMiddleAndLast) {
  test::TempDir dir;
  // Track 2 is shorter than a block, track 3 does not end on a block boundary.
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(60, 11), discgen::MusicCdFrames(17, 12),
                                           discgen::MusicCdFrames(83, 13)};
  CdioLibrary library({CdioLibrary::ImageDrive(discgen::WriteDiscImage(dir.Path(), "disc", tracks))});
  test::ExtractionRig rig(library);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  const DiscToc toc = TocOf(rig.cd);
  for (int32_t track = 1; track <= 3; ++track) {
    const auto i = static_cast<std::size_t>(track - 1);
    TrackChecksums sums(static_cast<int64_t>(tracks[i].size() / 4), {toc.FirstAudio(i), toc.LastAudio(i)});
    rig.ctx.checksums = &sums;
    const ExtractionOutcome outcome =
        ExtractTrackToWav(rig.ctx, dir / ("t" + std::to_string(track) + ".wav"), rig.cd.TrackFirstFrame(track),
                          rig.cd.TrackEndFrame(track));
    ASSERT_TRUE(outcome.complete);
    const Reference expected = ReferenceOf(tracks[i], track == 1, track == 3);
    EXPECT_EQ(sums.Crc32(), expected.crc) << track;
    EXPECT_EQ(sums.AccurateRipV1(), expected.v1) << track;
    EXPECT_EQ(sums.AccurateRipV2(), expected.v2) << track;
    EXPECT_NE(expected.v1, expected.v2) << "music gives products above 32 bits";
  }
}

TEST(TrackChecksums, AnySplitOfTheAudioGivesTheSameFiguresAndSilenceGivesZero) {
  const std::string pcm = discgen::MusicCdFrames(12, 5);
  const int64_t pairs = static_cast<int64_t>(pcm.size() / 4);
  // A track that is both first and last (a single), and one in the middle.
  for (const TrackPlace place : {TrackPlace{true, true}, TrackPlace{false, false}, TrackPlace{true, false}}) {
    const Reference expected = ReferenceOf(pcm, place.firstAudioTrack, place.lastAudioTrack);
    for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{4}, std::size_t{4097}, pcm.size()}) {
      TrackChecksums sums(pairs, place);
      for (std::size_t at = 0; at < pcm.size(); at += chunk) {
        sums.Add(reinterpret_cast<const uint8_t*>(pcm.data()) + at, std::min(chunk, pcm.size() - at));
      }
      EXPECT_EQ(sums.Crc32(), expected.crc) << chunk;
      EXPECT_EQ(sums.AccurateRipV1(), expected.v1) << chunk;
      EXPECT_EQ(sums.AccurateRipV2(), expected.v2) << chunk;
      EXPECT_EQ(sums.Bytes(), static_cast<int64_t>(pcm.size()));
    }
  }
  const std::string silence(20 * 2352, '\0');
  TrackChecksums quiet(static_cast<int64_t>(silence.size() / 4), {true, true});
  quiet.Add(reinterpret_cast<const uint8_t*>(silence.data()), silence.size());
  EXPECT_EQ(quiet.AccurateRipV1(), 0u);
  EXPECT_EQ(quiet.AccurateRipV2(), 0u);
  EXPECT_EQ(quiet.Crc32(), ReferenceOf(silence, true, true).crc);
  const std::string check = "123456789";
  EXPECT_EQ(TrackChecksums::Crc32Of(0, reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0xCBF43926u);
}

// Records the table the music database's id is asked for.
struct RecordingDiscIds : DiscIdLibrary {
  std::string MusicDatabaseId(int first, int last, const std::vector<int32_t>& s, int32_t lead) override {
    firstTrack = first;
    lastTrack = last;
    starts = s;
    leadOut = lead;
    return real.MusicDatabaseId(first, last, s, lead);
  }
  LibDiscId real;
  int firstTrack = 0, lastTrack = 0;
  std::vector<int32_t> starts;
  int32_t leadOut = 0;
};

TEST(DiscIds, APublishedDiscWithADataTrackGivesItsIdTriple) {
  DiscToc toc;
  int number = 1;
  for (int32_t start : {0, 15537, 31691, 50866, 66466, 81202, 99409, 115920, 133093, 149847, 161560, 177682}) {
    toc.tracks.push_back({number++, start, false});
  }
  toc.tracks.push_back({13, 207106, true});
  toc.leadOut = 210385;
  const AccurateRipDiscId id = AccurateRipIdOf(toc);
  EXPECT_EQ(Hex8(id.id1), "0013bd5a");
  EXPECT_EQ(Hex8(id.id2), "00b8d489");
  EXPECT_EQ(Hex8(id.cddb), "c60af50d");
  EXPECT_TRUE(toc.FirstAudio(0) && !toc.FirstAudio(1) && toc.LastAudio(11) && !toc.LastAudio(12));

  // The music database knows such a disc by its audio session, which ends before the data session.
  RecordingDiscIds ids;
  const std::string mb = MusicDatabaseIdOf(toc, ids);
  EXPECT_EQ(ids.firstTrack, 1);
  EXPECT_EQ(ids.lastTrack, 12);
  EXPECT_EQ(ids.starts.front(), 150);
  EXPECT_EQ(ids.leadOut, 207106 - 11400 + 150);
  EXPECT_EQ(mb.size(), 28u) << mb;

  // The audio session alone, as a disc of its own, has the same id.
  toc.tracks.pop_back();
  toc.leadOut = 207106 - 11400;
  MusicDatabaseIdOf(toc, ids);
  EXPECT_EQ(ids.leadOut, 207106 - 11400 + 150);
  EXPECT_EQ(LibDiscId().MusicDatabaseId(1, 12, ids.starts, ids.leadOut), mb);
}

}  // namespace
}  // namespace korvalin
