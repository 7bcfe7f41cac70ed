#pragma once
// The "Disc Information" window: what the look-up found for the disc in the chosen drive, each
// candidate with its source and the reasons for its rank, and the chosen one's fields to correct
// (album, artist, year, genre, each track's title and artist). "Use" makes them the disc's
// information and keeps them for this disc; "Look up again" asks the sources once more.
//
// The form also runs the background look-up (DiscInfoSession) whenever the main window reads a
// disc, and keeps the main window's status line: once the disc is known, an idle (empty) status
// line shows "Artist – Album"; a look-up that found nothing says why there, once.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/MenuItem.h"
#include "controls/TextBox.h"
#include "controls/Window.h"
#include "discinfo/DiscInfoSession.h"
#include "joblife/JobEvents.h"
#include "platform/Services.h"
#include "rip/modAKRip32.h"
#include "settings/Settings.h"

namespace korvalin {

class frmDiscInfo {
 public:
  // Puts its item into `actionMenu` (which a running job disables: the look-up waits for it),
  // reads discs through `cd` and keeps `statusLine`. Choices are kept in the user's data folder.
  // A look-up in hand ends when the program closes (`jobs`).
  frmDiscInfo(Services& services, const Settings& settings, controls::MenuItem& actionMenu, modAKRip32& cd,
              controls::Label& statusLine, JobEvents& jobs);
  // The same over another look-up (tests: a scripted one).
  frmDiscInfo(Services& services, const Settings& settings, controls::MenuItem& actionMenu, modAKRip32& cd,
              controls::Label& statusLine, DiscInfoLookup& lookup);
  frmDiscInfo(const frmDiscInfo&) = delete;
  frmDiscInfo& operator=(const frmDiscInfo&) = delete;
  ~frmDiscInfo();

  controls::Window window{"frmDiscInfo", "Disc Information"};
  controls::Label lblDisc{"lblDisc"};  // the disc: track count and ids
  controls::Label lblCandidates{"lblCandidates", "Found"};
  controls::ListBox lstCandidates{"lstCandidates"};
  controls::Label lblReasons{"lblReasons", "Why it ranks there"};
  controls::ListBox lstReasons{"lstReasons"};
  controls::Label lblAlbum{"lblAlbum", "Album"};
  controls::TextBox txtAlbum{"txtAlbum"};
  controls::Label lblArtist{"lblArtist", "Artist"};
  controls::TextBox txtArtist{"txtArtist"};
  controls::Label lblYear{"lblYear", "Year"};
  controls::TextBox txtYear{"txtYear"};
  controls::Label lblGenre{"lblGenre", "Genre"};
  controls::TextBox txtGenre{"txtGenre"};
  controls::Label lblTracks{"lblTracks", "Tracks"};
  controls::ListBox lstTracks{"lstTracks"};
  controls::Label lblTrackTitle{"lblTrackTitle", "Title"};
  controls::TextBox txtTrackTitle{"txtTrackTitle"};
  controls::Label lblTrackArtist{"lblTrackArtist", "Track artist"};
  controls::TextBox txtTrackArtist{"txtTrackArtist"};
  controls::Label lblNamePreview{"lblNamePreview"};  // what the names below are
  controls::ListBox lstNamePreview{"lstNamePreview"};  // the files a rip would write, from the fields
  controls::Label lblState{"lblState"};  // looking up, nothing found and why, saved
  controls::CommandButton cmdLookUp{"cmdLookUp", "Look up again"};
  controls::CommandButton cmdUse{"cmdUse", "Use"};
  controls::CommandButton cmdClose{"cmdClose", "Close"};
  controls::MenuItem mnuDiscInfo{"mnuDiscInfo", "Disc Information"};
  // Its button on the main window's CD bar.
  controls::CommandButton cmdDiscInfo{"cmdDiscInfo"};

  // Fills the window from what is known of the disc, centres it and shows it.
  void Show();
  // Hides the window; the look-up goes on.
  void cmdClose_Click();
  // The program ends: closes the window and ends a look-up in progress.
  void Form_Unload();
  // The main window has read a disc (or found none) in the drive `cd` has open.
  void DiscRead();

  void lstCandidates_Click();
  void lstTracks_Click();
  void cmdLookUp_Click();
  void cmdUse_Click();

  // The extension the next rip writes (".mp3" while none is given).
  std::function<std::string()> PreviewExtension;
  // Run when what is known of the disc may have changed (a look-up answered, "Use", another disc).
  std::function<void()> OnKnownChanged;
  // Shows the names a rip of the disc would write with the information in the fields.
  void ShowNamePreview();

  // The disc's information as chosen, else as best found; null when none.
  const DiscInfoCandidate* Known() const { return session_.Known(); }
  // The known disc's tags, one per track of a disc of `trackCount` tracks (another count: as
  // many as the information lists); none while the disc is not known.
  std::vector<TrackTags> KnownTags(double trackCount) const;
  DiscInfoSession& Session() { return session_; }

 private:
  frmDiscInfo(Services& services, const Settings& settings, controls::MenuItem& actionMenu, modAKRip32& cd,
              controls::Label& statusLine, std::unique_ptr<DiscInfoLookup> owned, DiscInfoLookup* lookup);
  void ConnectHandlers();
  void SessionChanged();
  // Shows the session's candidates; the fields follow unless the user has edited them.
  void ShowCandidates();
  // Puts `info` into the fields, one track line per track of the disc.
  void ShowFields(const DiscInfoCandidate& info);
  void ShowTrack();
  std::string TrackLine(const TrackInfo& track) const;
  void ShowStatusLine();
  // A field edited by the user changes the working copy.
  void Edited(std::string DiscInfoCandidate::*field, const controls::TextBox& box);
  void TrackEdited(std::string TrackInfo::*field, const controls::TextBox& box);

  Services& services_;
  const Settings& settings_;
  controls::MenuItem& actionMenu_;
  modAKRip32& cd_;
  controls::Label& statusLine_;
  std::unique_ptr<DiscInfoLookup> ownedLookup_;
  DiscInfoSession session_;
  DiscInfoCandidate edit_;  // what the fields show
  bool edited_ = false;     // the user has changed a field since the fields were filled
  bool quiet_ = false;      // the program is filling the fields
  std::string shownLine_;   // what this form last put into the status line
  std::string discLine_;    // "Artist – Album" of the known disc; "" while none
  controls::Connection statusWatch_, sessionWatch_, closingWatch_;
};

// The disc in the drive `cd` has open, read afresh (the disc may have changed since the drive
// was opened); none when the drive has no readable table of contents.
std::optional<DiscQuery> DiscInDrive(modAKRip32& cd, DiscIdLibrary& ids);

}  // namespace korvalin
