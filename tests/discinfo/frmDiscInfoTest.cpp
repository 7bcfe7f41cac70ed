// The Disc Information window and its background look-up, driven without a display: a disc
// image in a real drive adapter, a scripted look-up that yields as a network one does, and the
// choices kept in a temporary folder.

#include "discinfo/frmDiscInfo.h"

#include <gtest/gtest.h>

#include <memory>

#include "discinfo/LookupSettings.h"
#include "discinfo/DiscInfoCache.h"
#include "platform/linux/CdioLibrary.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

// Answers after a few yields with what it was given, after the choice kept for the disc (as the
// real look-up puts it first); counts its calls.
class ScriptedLookup : public DiscInfoLookup {
 public:
  ScriptedLookup(EventLoop& loop, const std::string& folder) : loop_(loop), kept_(folder) {}
  LookupResult Look(const DiscQuery& disc, const LookupOptions& options, bool fresh,
                    const std::function<bool()>& cancelled) override {
    ++calls;
    lastOptions = options;
    for (int i = 0; i < 5; ++i) {
      if (cancelled()) return {{}, {"cancelled"}};
      loop_.Yield();
    }
    LookupResult result;
    if (auto kept = kept_.Load(disc).candidate; kept && !fresh) result.candidates.push_back(*kept);
    for (const auto& c : answer.candidates) result.candidates.push_back(c);
    result.problems = answer.problems;
    return result;
  }
  std::string Remember(const DiscQuery& disc, const DiscInfoCandidate& chosen) override {
    return kept_.Save(disc, chosen);
  }

  LookupResult answer;
  int calls = 0;
  LookupOptions lastOptions;

 private:
  EventLoop& loop_;
  DiscInfoCache kept_;
};

DiscInfoCandidate Candidate(std::string source, std::string artist, std::string album, std::vector<std::string> titles) {
  DiscInfoCandidate c;
  c.source = std::move(source);
  c.artist = std::move(artist);
  c.album = std::move(album);
  c.year = "1998";
  for (std::size_t i = 0; i < titles.size(); ++i) {
    TrackInfo track;
    track.number = static_cast<int>(i + 1);
    track.title = titles[i];
    c.tracks.push_back(track);
  }
  c.reasons = {"the disc id matches exactly"};
  return c;
}

// A three-track disc image in the first drive, the main window's status line and Action menu.
struct Rig {
  Rig()
      : image({CdioLibrary::ImageDrive(discgen::WriteDiscImage(
            discs.Path(), "disc", {discgen::MusicCdFrames(80, 1), discgen::MusicCdFrames(90, 2), discgen::MusicCdFrames(70, 3)}))}),
        services(fake.With(image)),
        cd(image) {
    EXPECT_TRUE(cd.OpenDrive(0));
    settings.LookupDiscInfo = 1;
  }
  std::unique_ptr<frmDiscInfo> Form(ScriptedLookup& lookup) {
    return std::make_unique<frmDiscInfo>(services, settings, actionMenu, cd, status, lookup);
  }

  test::FakeServices fake;
  test::TempDir discs, kept;
  CdioLibrary image;
  Services services;
  modAKRip32 cd;
  Settings settings;
  controls::MenuItem actionMenu{"mnuActiopn", "Action"};
  controls::Label status{"lblStatus"};
};

TEST(DiscInfoWindow, AChosenAndEditedCandidateShowsInTheStatusLineAndComesBackInANewForm) {
  Rig rig;
  ScriptedLookup lookup(rig.fake.loop, rig.kept.Path());
  lookup.answer.candidates = {Candidate("MusicBrainz", "Artist A", "Album A", {"One", "Two", "Three"}),
                              Candidate("gnudb", "Artist B", "Album B", {"Uno", "Dos"})};
  auto form = rig.Form(lookup);
  form->DiscRead();
  EXPECT_EQ(lookup.calls, 0);  // reading the disc only starts the look-up
  EXPECT_EQ(form->lblDisc.Caption().substr(0, 26), "3 tracks, CDDB id 09000303");
  rig.fake.loop.Advance(0.5);
  ASSERT_EQ(lookup.calls, 1);
  EXPECT_EQ(rig.status.Caption(), "Artist A \u2013 Album A");

  form->mnuDiscInfo.Click();
  EXPECT_TRUE(form->window.Visible());
  EXPECT_EQ(form->lstCandidates.Items(),
            (std::vector<std::string>{"MusicBrainz: Artist A \u2013 Album A (1998)", "gnudb: Artist B \u2013 Album B (1998)"}));
  EXPECT_EQ(form->lstReasons.Items(), (std::vector<std::string>{"the disc id matches exactly"}));
  form->lstCandidates.SetListIndex(1);
  EXPECT_EQ(form->txtAlbum.Text(), "Album B");
  // Every track of the disc has a line, also the one the candidate lacks.
  EXPECT_EQ(form->lstTracks.Items(), (std::vector<std::string>{"1. Uno", "2. Dos", "3. "}));
  form->lstTracks.SetListIndex(2);
  form->txtTrackTitle.SetText("Tres");
  form->txtTrackArtist.SetText("Guest");
  form->txtYear.SetText("2001");
  EXPECT_EQ(form->lstTracks.List(2), "3. Tres \u2013 Guest");
  rig.fake.loop.Advance(0.5);  // nothing is due: the edits stay
  EXPECT_EQ(form->txtYear.Text(), "2001");

  form->cmdUse.Click();
  EXPECT_EQ(form->lblState.Caption(), "Kept for this disc.");
  EXPECT_EQ(rig.status.Caption(), "Artist B \u2013 Album B");
  // A job's progress takes the line; once the line is emptied it shows the disc again.
  rig.status.SetCaption("Track 1: 40%");
  rig.status.SetCaption("");
  EXPECT_EQ(rig.status.Caption(), "Artist B \u2013 Album B");
  form.reset();

  // The next start: nothing is asked of the sources before the kept choice shows.
  ScriptedLookup offline(rig.fake.loop, rig.kept.Path());
  rig.status.SetCaption("");
  auto again = rig.Form(offline);
  again->DiscRead();
  rig.fake.loop.Advance(0.5);
  EXPECT_EQ(rig.status.Caption(), "Artist B \u2013 Album B");
  ASSERT_NE(again->Known(), nullptr);
  EXPECT_EQ(again->Known()->source, "cache");
  EXPECT_EQ(again->Known()->year, "2001");
  ASSERT_EQ(again->Known()->tracks.size(), 3u);
  EXPECT_EQ(again->Known()->tracks[2].title, "Tres");
  EXPECT_EQ(again->Known()->tracks[2].artist, "Guest");
  again->Show();
  EXPECT_EQ(again->lstTracks.List(2), "3. Tres \u2013 Guest");
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
}

TEST(DiscInfoWindow, ThePreviewShowsTheFilesARipWouldWriteAndFollowsEachEdit) {
  Rig rig;
  rig.settings.NameTemplate = "%artist%/%title%";
  ScriptedLookup lookup(rig.fake.loop, rig.kept.Path());
  lookup.answer.candidates = {Candidate("MusicBrainz", "Artist A", "Album A", {"One", "Two/2", ".."})};
  auto form = rig.Form(lookup);
  int knownChanges = 0;
  form->OnKnownChanged = [&] { ++knownChanges; };
  form->mnuDiscInfo.Click();
  EXPECT_TRUE(form->lstNamePreview.Items().empty());  // nothing known yet
  form->DiscRead();
  rig.fake.loop.Advance(0.5);
  EXPECT_GE(knownChanges, 1);  // the Preferences' preview follows the answer
  form->lstCandidates.SetListIndex(0);
  EXPECT_EQ(form->lblNamePreview.Caption(),
            "The files a rip would write with these fields once \"Name files from the disc information\" is turned on "
            "in the Preferences:");
  EXPECT_EQ(form->lstNamePreview.Items(),
            (std::vector<std::string>{"Artist A/One.mp3", "Artist A/Two_2.mp3", "Artist A/__.mp3"}));

  rig.settings.NameFromTags = 1;
  form->PreviewExtension = [] { return std::string(".wav"); };
  form->txtArtist.SetText("Artist B");
  form->lstTracks.SetListIndex(0);
  form->txtTrackTitle.SetText("Uno");
  EXPECT_EQ(form->lblNamePreview.Caption(), "The files a rip writes with these fields:");
  EXPECT_EQ(form->lstNamePreview.Items(),
            (std::vector<std::string>{"Artist B/Uno.wav", "Artist B/Two_2.wav", "Artist B/__.wav"}));
}

TEST(DiscInfoWindow, ALookUpThatFindsNothingSaysWhyOnceInTheStatusLineAndNeverAsks) {
  Rig rig;
  ScriptedLookup lookup(rig.fake.loop, rig.kept.Path());
  lookup.answer.problems = {"MusicBrainz did not answer within 15 s", "gnudb answered 500"};
  auto form = rig.Form(lookup);
  form->DiscRead();
  rig.fake.loop.Advance(0.5);
  EXPECT_EQ(rig.status.Caption(), "Disc information: MusicBrainz did not answer within 15 s; gnudb answered 500");
  rig.status.SetCaption("");  // the next job's end: the problem is not repeated
  EXPECT_EQ(rig.status.Caption(), "");
  EXPECT_FALSE(form->window.Visible());
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
  form->Show();
  EXPECT_EQ(form->lblState.Caption(), "MusicBrainz did not answer within 15 s\ngnudb answered 500");
  EXPECT_EQ(form->lstTracks.ListCount(), 3);  // to be typed in and kept with "Use"
}

TEST(DiscInfoWindow, TheLookUpWaitsForARunningJobAndADiscChangeDropsTheOlderAnswer) {
  Rig rig;
  ScriptedLookup lookup(rig.fake.loop, rig.kept.Path());
  lookup.answer.candidates = {Candidate("MusicBrainz", "Artist A", "Album A", {"One"})};
  rig.settings.LookupDiscInfo = 0;
  rig.settings.PreferredCountry = "DE";
  auto form = rig.Form(lookup);
  rig.actionMenu.SetEnabled(false);  // a job runs
  form->DiscRead();
  rig.fake.loop.Advance(2.0);
  EXPECT_EQ(lookup.calls, 0);
  rig.actionMenu.SetEnabled(true);
  // The drive is emptied while the look-up waits for its answer.
  rig.fake.loop.AtYield(2, [&] { form->Session().DiscRead(std::nullopt); });
  rig.fake.loop.Advance(0.5);
  EXPECT_EQ(lookup.calls, 1);
  EXPECT_FALSE(lookup.lastOptions.online);  // the settings reach the look-up
  EXPECT_EQ(lookup.lastOptions.preferredCountry, "DE");
  EXPECT_EQ(form->Known(), nullptr);
  EXPECT_EQ(rig.status.Caption(), "");
  EXPECT_EQ(form->lblDisc.Caption(), "No disc in the drive.");
}

TEST(DiscInfoWindow, AChoiceThatCannotBeKeptSaysWhyAndStillHoldsUntilTheEnd) {
  Rig rig;
  const std::string blocker = rig.kept / "file";
  test::WriteFile(blocker, "not a folder");
  ScriptedLookup lookup(rig.fake.loop, blocker + "/discinfo");
  auto form = rig.Form(lookup);
  form->DiscRead();
  rig.fake.loop.Advance(0.5);
  form->Show();
  form->txtArtist.SetText("Typed Artist");
  form->txtAlbum.SetText("Typed Album");
  form->cmdUse.Click();
  EXPECT_NE(form->lblState.Caption().find(blocker + "/discinfo"), std::string::npos) << form->lblState.Caption();
  EXPECT_EQ(rig.status.Caption(), "Typed Artist \u2013 Typed Album");
}

TEST(LookupSettings, TheOptionsFollowTheSettings) {
  Settings s;
  s.LookupDiscInfo = 0;
  s.DiscInfoSources = "gnudb";
  s.PreferredCountry = "gb";
  s.MusicBrainzUrl = "http://127.0.0.1:9";
  s.GnudbUrl = "not an address";
  const LookupOptions o = LookupOptionsFrom(s);
  EXPECT_FALSE(o.online);
  EXPECT_EQ(o.order, (std::vector<std::string>{"gnudb"}));
  EXPECT_EQ(o.preferredCountry, "GB");
  EXPECT_EQ(o.musicBrainzUrl, "http://127.0.0.1:9");
  EXPECT_EQ(o.gnudbUrl, "https://gnudb.gnudb.org");
}

}  // namespace
}  // namespace korvalin
