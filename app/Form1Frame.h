#pragma once
// The main window's frame: its regions (the bars, the tree area, the options panel) and its
// menus (the menu bar and the collection tree's pop-up menu).

#include <vector>

#include "controls/AlignedBars.h"
#include "controls/MenuItem.h"
#include "controls/PictureBox.h"

namespace korvalin {

struct Form1Frame {
  // --- regions (twips) ---
  controls::PictureBox Picture3{"Picture3", controls::PictureBox::Align::Top};     // toolbar
  controls::PictureBox Picture4{"Picture4", controls::PictureBox::Align::Top};     // CD bar
  controls::PictureBox Picture5{"Picture5", controls::PictureBox::Align::Top};     // next-action strip
  controls::PictureBox Picture7{"Picture7"};                                       // tree area
  controls::PictureBox Picture8{"Picture8"};                                       // options panel
  controls::PictureBox Picture2{"Picture2", controls::PictureBox::Align::Bottom};  // activity bar
  controls::PictureBox Picture1{"Picture1", controls::PictureBox::Align::Bottom};  // status bar

  // --- menus ---
  controls::MenuItem mnuOpenfile{"mnuOpenfile", "Open"};
  controls::MenuItem mnuspace1{"mnuspace1", "-"};
  controls::MenuItem mnuExit{"mnuExit", "Exit"};
  controls::MenuItem mnuFile{"mnuFile", "File", {&mnuOpenfile, &mnuspace1, &mnuExit}};
  controls::MenuItem mnuStart{"mnuStart", "Start "};
  controls::MenuItem mnuStop{"mnuStop", "Stop"};
  controls::MenuItem mnuspace2{"mnuspace2", "-"};
  controls::MenuItem mnuRefreshlist{"mnuRefreshlist", "Refresh List"};
  controls::MenuItem mnuActiopn{"mnuActiopn", "Action", {&mnuStart, &mnuStop, &mnuspace2, &mnuRefreshlist}};
  controls::MenuItem mnuGetMainPrefs{"mnuGetMainPrefs", "Preferences"};
  controls::MenuItem mnuToolbar{"mnuToolbar", "ToolBar"};
  controls::MenuItem mnuCDbar{"mnuCDbar", "CD Bar"};
  controls::MenuItem mnuActivityBar{"mnuActivityBar", "Activity Bar"};
  controls::MenuItem mnuStatusbar{"mnuStatusbar", "Status Bar"};
  controls::MenuItem mnuGetToolbars{"mnuGetToolbars", "Toolbars", {&mnuToolbar, &mnuCDbar, &mnuActivityBar, &mnuStatusbar}};
  controls::MenuItem mnuSearch{"mnuSearch", "Search"};
  controls::MenuItem mnuPlaylist{"mnuPlaylist", "Playlist"};
  controls::MenuItem mnuPrefs{"mnuPrefs", "Preferences", {&mnuGetMainPrefs, &mnuGetToolbars, &mnuSearch, &mnuPlaylist}};
  controls::MenuItem mnuHelpfile{"mnuHelpfile", "Help File"};
  controls::MenuItem mnuHelp{"mnuHelp", "Help", {&mnuHelpfile}};
  // The tree's pop-up menu: never in the menu bar, shown at the pointer.
  controls::MenuItem mnuStart2{"mnuStart2", "Start!"};
  controls::MenuItem mnuSpace5{"mnuSpace5", "-"};
  controls::MenuItem mnuFileRemove{"mnuFileRemove", "Remove from List"};
  controls::MenuItem mnuRemoveDelete{"mnuRemoveDelete", "Remove and Delete File"};
  controls::MenuItem mnuSpace6{"mnuSpace6", "-"};
  controls::MenuItem mnuMinimize{"mnuMinimize", "Minimize"};
  controls::MenuItem mnuExit2{"mnuExit2", "Exit"};
  controls::MenuItem mnupopup{"mnupopup", "popup",
                              {&mnuStart2, &mnuSpace5, &mnuFileRemove, &mnuRemoveDelete, &mnuSpace6, &mnuMinimize, &mnuExit2}};

  // The menu bar, in order.
  std::vector<controls::MenuItem*> MenuBar() { return {&mnuFile, &mnuActiopn, &mnuPrefs, &mnuHelp}; }

  // Bars aligned to the top edge, in stacking order, then those aligned to the bottom edge,
  // from the bottom up.
  controls::AlignedBars Bars() { return {{&Picture3, &Picture4, &Picture5}, {&Picture1, &Picture2}}; }
};

}  // namespace korvalin
