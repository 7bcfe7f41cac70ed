#pragma once
// The other windows the main window owns, each made in one line; the main window's view makes the
// view of every one. Each follows a job's life by itself (it subscribes in its constructor).

#include "about/frmAbout.h"
#include "controls/OwnedForms.h"
#include "desktop/WindowTray.h"
#include "discinfo/frmDiscInfo.h"
#include "finder/frmsearch.h"
#include "mp3/frmPlayList.h"
#include "settings/FrmPrefs.h"

namespace korvalin {

class Form1;

struct Form1Windows {
  // Made by the main window once its collection, displays and CD bar exist; the tray and Disc
  // Information write to its status line.
  explicit Form1Windows(Form1& main);
  Form1Windows(const Form1Windows&) = delete;
  Form1Windows& operator=(const Form1Windows&) = delete;

  OwnedForms forms;
  // The window's place in the notification area, and the tray form.
  WindowTray tray;
  // The File Finder and the Playlist Editor: shown on demand, closed when a job starts.
  frmsearch& finder;
  frmPlayList& playlistEditor;
  // The Preferences dialog: loaded hidden at start, where it settles the destination folder.
  FrmPrefs& prefs;
  frmAbout& about;
  // Disc Information: looks each disc read up in the background; Action menu and CD bar.
  frmDiscInfo& discInfo;
};

}  // namespace korvalin
