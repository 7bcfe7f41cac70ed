#include "discinfo/frmDiscInfo.h"

#include "common/RaisedError.h"

#include "discinfo/LookupSettings.h"
#include "discinfo/DiscInfoCache.h"
#include "discinfo/ProgramDiscLookup.h"
#include "discinfo/TagsFromDiscInfo.h"
#include "fileout/NameTemplate.h"
#include "rip/DiscIds.h"

namespace korvalin {
namespace {

constexpr int32_t kDesignWidth = 12600;  // twips: wide enough for a candidate line and its reasons
constexpr int32_t kDesignHeight = 6900;

std::string Joined(const std::vector<std::string>& lines, const char* separator) {
  std::string text;
  for (const auto& line : lines) text += (text.empty() ? "" : separator) + line;
  return text;
}

std::string CandidateLine(const DiscInfoCandidate& c) {
  std::vector<std::string> details;
  if (!c.year.empty()) details.push_back(c.year);
  if (!c.country.empty()) details.push_back(c.country);
  if (c.discNumber > 0 && c.discCount > 1) {
    details.push_back("disc " + std::to_string(c.discNumber) + " of " + std::to_string(c.discCount));
  }
  std::string line = c.source + ": " + ArtistAlbumLine(c);
  if (!details.empty()) line += " (" + Joined(details, ", ") + ")";
  return line;
}

}  // namespace

std::optional<DiscQuery> DiscInDrive(modAKRip32& cd, DiscIdLibrary& ids) {
  if (cd.CurrentDriveHandle == 0) return {};
  modAKRip32 probe(cd.Library());
  probe.CurrentDriveHandle = cd.CurrentDriveHandle;
  if (cd.Library().ReadTOC(cd.CurrentDriveHandle, probe.CurrentToc.data()) != 1) return {};
  DiscQuery disc;
  disc.toc = TocOf(probe);
  bool audio = false;
  for (const auto& track : disc.toc.tracks) audio = audio || !track.data;
  if (!audio) return {};
  disc.cddbId = CddbId(disc.toc);
  try {
    disc.musicBrainzId = MusicDatabaseIdOf(disc.toc, ids);
  } catch (const std::exception&) {
    // Without that id the sources that know the CDDB id still answer.
  }
  return disc;
}

frmDiscInfo::frmDiscInfo(Services& services, const Settings& settings, controls::MenuItem& actionMenu, modAKRip32& cd,
                         controls::Label& statusLine, JobEvents& jobs)
    : frmDiscInfo(services, settings, actionMenu, cd, statusLine,
                  std::make_unique<ProgramDiscLookup>(
                      [&cd] {
                        return cd.CurrentDriveHandle != 0 ? cd.Library().ReadDiscText(cd.CurrentDriveHandle) : DiscText{};
                      },
                      services.http, services.loop, DiscInfoCache::DefaultFolder()), nullptr) {
  closingWatch_ = jobs.closing.Connect([this] { IgnoreErrors([&] { Form_Unload(); }); });
}

frmDiscInfo::frmDiscInfo(Services& services, const Settings& settings, controls::MenuItem& actionMenu, modAKRip32& cd,
                         controls::Label& statusLine, DiscInfoLookup& lookup)
    : frmDiscInfo(services, settings, actionMenu, cd, statusLine, nullptr, &lookup) {}

frmDiscInfo::frmDiscInfo(Services& services, const Settings& settings, controls::MenuItem& actionMenu, modAKRip32& cd,
                         controls::Label& statusLine, std::unique_ptr<DiscInfoLookup> owned, DiscInfoLookup* lookup)
    : services_(services),
      settings_(settings),
      actionMenu_(actionMenu),
      cd_(cd),
      statusLine_(statusLine),
      ownedLookup_(std::move(owned)),
      session_(services.loop, lookup ? *lookup : *ownedLookup_) {
  window.Move(0, 0, kDesignWidth, kDesignHeight);
  actionMenu.Append(mnuDiscInfo);
  // At the right end of the CD bar, beside the disc's identity and track count.
  cmdDiscInfo.Move(8640, 45, 315, 315);
  cmdDiscInfo.SetToolTipText("Disc Information");
  cmdDiscInfo.SetPicture("discinfo.svg");
  session_.Options = [this] { return LookupOptionsFrom(settings_); };
  // A running job disables the Action menu; the look-up would hold the job up in its yields.
  session_.MayStart = [this] { return actionMenu_.Enabled(); };
  ConnectHandlers();
  ShowCandidates();
}

frmDiscInfo::~frmDiscInfo() { session_.Stop(); }

void frmDiscInfo::ConnectHandlers() {
  mnuDiscInfo.OnClick = [this] { Show(); };
  cmdDiscInfo.OnClick = [this] {
    Show();
    window.RequestActivate();
  };
  cmdClose.OnClick = [this] { cmdClose_Click(); };
  window.OnUnload = [this] { cmdClose_Click(); };
  cmdLookUp.OnClick = [this] { cmdLookUp_Click(); };
  cmdUse.OnClick = [this] { cmdUse_Click(); };
  lstCandidates.OnClick = [this] {
    if (!quiet_) lstCandidates_Click();
  };
  lstTracks.OnClick = [this] {
    if (!quiet_) lstTracks_Click();
  };
  txtAlbum.OnChange = [this] { Edited(&DiscInfoCandidate::album, txtAlbum); };
  txtArtist.OnChange = [this] { Edited(&DiscInfoCandidate::artist, txtArtist); };
  txtYear.OnChange = [this] { Edited(&DiscInfoCandidate::year, txtYear); };
  txtGenre.OnChange = [this] { Edited(&DiscInfoCandidate::genre, txtGenre); };
  txtTrackTitle.OnChange = [this] { TrackEdited(&TrackInfo::title, txtTrackTitle); };
  txtTrackArtist.OnChange = [this] { TrackEdited(&TrackInfo::artist, txtTrackArtist); };
  sessionWatch_ = session_.Changed.Connect([this] { SessionChanged(); });
  // Whoever empties the status line (the end of a job) leaves it to the disc.
  statusWatch_ = statusLine_.Changed.Connect([this](controls::Change change) {
    if (change.what != controls::Property::Caption || !statusLine_.Caption().empty() || discLine_.empty()) return;
    shownLine_ = discLine_;
    statusLine_.SetCaption(discLine_);
  });
}

// --- life --------------------------------------------------------------------------------------

void frmDiscInfo::Show() {
  ShowCandidates();
  ShowNamePreview();  // the naming settings may have changed since
  const controls::Screen& screen = services_.screen;
  window.Move((screen.Width() - window.Width()) / 2, (screen.Height() - window.Height()) / 2, window.Width(),
              window.Height());
  window.SetLoaded(true);
  window.SetVisible(true);
}

void frmDiscInfo::cmdClose_Click() {
  window.SetVisible(false);
  window.SetLoaded(false);
}

void frmDiscInfo::Form_Unload() {
  session_.Stop();
  cmdClose_Click();
}

void frmDiscInfo::DiscRead() {
  std::optional<DiscQuery> disc;
  try {
    disc = DiscInDrive(cd_, services_.discIds);
  } catch (const std::exception&) {
    // A table of contents that cannot be read is no disc to look up.
  }
  session_.DiscRead(disc);
}

// --- the look-up ---------------------------------------------------------------------------------

void frmDiscInfo::SessionChanged() {
  ShowCandidates();
  ShowStatusLine();
  if (OnKnownChanged) OnKnownChanged();
}

void frmDiscInfo::ShowStatusLine() {
  std::string line;
  discLine_.clear();
  if (const DiscInfoCandidate* known = session_.Known()) {
    discLine_ = line = ArtistAlbumLine(*known);
  } else if (session_.Disc() && !session_.Busy() && !session_.Problems().empty()) {
    line = "Disc information: " + Joined(session_.Problems(), "; ");
  }
  // A job's progress or another notice keeps the line; it comes back to the disc when emptied.
  if (statusLine_.Caption().empty() || statusLine_.Caption() == shownLine_) {
    shownLine_ = line;
    statusLine_.SetCaption(line);
  }
}

void frmDiscInfo::ShowCandidates() {
  const auto& disc = session_.Disc();
  if (disc) {
    int32_t audio = 0;
    for (const auto& track : disc->toc.tracks) audio += track.data ? 0 : 1;
    std::string line = std::to_string(audio) + (audio == 1 ? " track" : " tracks") + ", CDDB id " + Hex8(disc->cddbId);
    if (!disc->musicBrainzId.empty()) line += ", MusicBrainz disc id " + disc->musicBrainzId;
    lblDisc.SetCaption(line);
  } else {
    lblDisc.SetCaption("No disc in the drive.");
  }
  const auto& candidates = session_.Candidates();
  quiet_ = true;
  lstCandidates.Clear();
  for (const auto& c : candidates) lstCandidates.AddItem(CandidateLine(c));
  quiet_ = false;
  if (session_.Busy()) {
    lblState.SetCaption("Looking the disc up\u2026");
  } else if (!disc) {
    lblState.SetCaption("");
  } else if (candidates.empty()) {
    lblState.SetCaption(session_.Problems().empty()
                            ? "Nothing found for this disc: type its information and press \"Use\" to keep it."
                            : Joined(session_.Problems(), "\n"));
  } else {
    lblState.SetCaption(Joined(session_.Problems(), "\n"));
  }
  if (edited_) return;  // the user's edits stay until they choose a candidate
  lstReasons.Clear();
  if (const DiscInfoCandidate* known = session_.Known()) {
    if (!candidates.empty() && known == &candidates.front()) {
      quiet_ = true;
      lstCandidates.SetListIndex(0);
      quiet_ = false;
    }
    for (const auto& reason : known->reasons) lstReasons.AddItem(reason);
    for (const auto& [field, source] : known->filledFrom) lstReasons.AddItem(field + " from " + source);
    ShowFields(*known);
  } else {
    ShowFields(DiscInfoCandidate{});
  }
}

// --- the fields ----------------------------------------------------------------------------------

void frmDiscInfo::ShowFields(const DiscInfoCandidate& info) {
  edit_ = info;
  if (const auto& disc = session_.Disc()) {
    // One line for each audio track of the disc, whatever the candidate lists.
    edit_.tracks.clear();
    for (const auto& track : disc->toc.tracks) {
      if (track.data) continue;
      TrackInfo shown;
      shown.number = track.number;
      for (const auto& given : info.tracks) {
        if (given.number == track.number) shown = given;
      }
      edit_.tracks.push_back(shown);
    }
  }
  quiet_ = true;
  txtAlbum.SetText(edit_.album);
  txtArtist.SetText(edit_.artist);
  txtYear.SetText(edit_.year);
  txtGenre.SetText(edit_.genre);
  lstTracks.Clear();
  for (const auto& track : edit_.tracks) lstTracks.AddItem(TrackLine(track));
  if (!edit_.tracks.empty()) lstTracks.SetListIndex(0);
  quiet_ = false;
  edited_ = false;
  ShowTrack();
  ShowNamePreview();
}

void frmDiscInfo::ShowTrack() {
  const int32_t index = lstTracks.ListIndex();
  const bool chosen = index >= 0 && index < static_cast<int32_t>(edit_.tracks.size());
  quiet_ = true;
  txtTrackTitle.SetText(chosen ? edit_.tracks[static_cast<std::size_t>(index)].title : "");
  txtTrackArtist.SetText(chosen ? edit_.tracks[static_cast<std::size_t>(index)].artist : "");
  quiet_ = false;
  txtTrackTitle.SetEnabled(chosen);
  txtTrackArtist.SetEnabled(chosen);
}

std::string frmDiscInfo::TrackLine(const TrackInfo& track) const {
  std::string line = std::to_string(track.number) + ". " + track.title;
  if (!track.artist.empty()) line += " \u2013 " + track.artist;
  return line;
}

void frmDiscInfo::Edited(std::string DiscInfoCandidate::*field, const controls::TextBox& box) {
  if (quiet_) return;
  edit_.*field = box.Text();
  edited_ = true;
  ShowNamePreview();
}

void frmDiscInfo::TrackEdited(std::string TrackInfo::*field, const controls::TextBox& box) {
  if (quiet_) return;
  const int32_t index = lstTracks.ListIndex();
  if (index < 0 || index >= static_cast<int32_t>(edit_.tracks.size())) return;
  TrackInfo& track = edit_.tracks[static_cast<std::size_t>(index)];
  track.*field = box.Text();
  edited_ = true;
  quiet_ = true;
  lstTracks.SetList(index, TrackLine(track));
  quiet_ = false;
  ShowNamePreview();
}

std::vector<TrackTags> frmDiscInfo::KnownTags(double trackCount) const {
  const DiscInfoCandidate* known = Known();
  if (!known) return {};
  return TagsFromDiscInfo(*known, trackCount >= 1 && trackCount <= 99 ? static_cast<int>(trackCount) : 0);
}

void frmDiscInfo::ShowNamePreview() {
  const auto& disc = session_.Disc();
  const int tracks = disc ? static_cast<int>(disc->toc.tracks.size()) : 0;
  std::string extension = ".mp3";
  if (PreviewExtension) extension = PreviewExtension();
  lblNamePreview.SetCaption(settings_.NameFromTags != 0
                                ? "The files a rip writes with these fields:"
                                : "The files a rip would write with these fields once \"Name files from the disc "
                                  "information\" is turned on in the Preferences:");
  lstNamePreview.Clear();
  if (edit_.tracks.empty() && edit_.album.empty() && edit_.artist.empty()) return;
  for (auto& name : NamesForDisc(settings_.NameTemplate, TagsFromDiscInfo(edit_, tracks), extension,
                                 settings_.FatSafeNames != 0)) {
    lstNamePreview.AddItem(std::move(name));
  }
}

// --- the commands --------------------------------------------------------------------------------

void frmDiscInfo::lstCandidates_Click() {
  const int32_t index = lstCandidates.ListIndex();
  const auto& candidates = session_.Candidates();
  if (index < 0 || index >= static_cast<int32_t>(candidates.size())) return;
  const DiscInfoCandidate& chosen = candidates[static_cast<std::size_t>(index)];
  lstReasons.Clear();
  for (const auto& reason : chosen.reasons) lstReasons.AddItem(reason);
  for (const auto& [field, source] : chosen.filledFrom) lstReasons.AddItem(field + " from " + source);
  ShowFields(chosen);
}

void frmDiscInfo::lstTracks_Click() { ShowTrack(); }

void frmDiscInfo::cmdLookUp_Click() { session_.LookAgain(); }

void frmDiscInfo::cmdUse_Click() {
  if (!session_.Disc()) {
    lblState.SetCaption("No disc in the drive: nothing to keep.");
    return;
  }
  const DiscInfoCandidate chosen = edit_;
  edited_ = true;  // the fields show the choice: the refresh that Use brings leaves them
  const std::string problem = session_.Use(chosen);
  edited_ = false;
  lblState.SetCaption(problem.empty() ? "Kept for this disc." : problem);
}

}  // namespace korvalin
