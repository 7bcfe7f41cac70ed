#pragma once
// The File Finder window: looks for audio files below a folder. Its "Local Search " tab holds
// the search controls; the "Internet Search" tab is the second page of the same tab strip.
//
// The search runs inside the click on "Search !" and yields before every folder entry, so the
// window stays live: "Stop!" (the same button), "Close" and the result list's commands run in
// the middle of it. The owner must not destroy the form while Searching() is true; closing it
// stops the search, which then returns at the end of the folder being read.

#include <cstdint>
#include <string>
#include <utility>

#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/MenuItem.h"
#include "controls/TabStrip.h"
#include "controls/TextBox.h"
#include "controls/Window.h"
#include "finder/ResultCommands.h"
#include "joblife/JobEvents.h"
#include "platform/Services.h"
#include "platform/WebBrowser.h"

namespace korvalin {

inline constexpr const char* kSearchCaption = "Search !";
inline constexpr const char* kStopCaption = "Stop!";
// Shown instead of searching when "Look in" is empty.
inline constexpr const char* kChooseFolderText = "Choose a folder to search";

class frmsearch {
 public:
  explicit frmsearch(Services& services);
  // The program's finder: it closes when a job starts and when the program closes.
  frmsearch(Services& services, JobEvents& jobs);
  frmsearch(const frmsearch&) = delete;
  frmsearch& operator=(const frmsearch&) = delete;

  controls::Window window{"frmsearch", "File Finder"};
  controls::TabStrip SSTab1{"SSTab1", {"Local Search ", "Internet Search"}};

  // --- "Local Search " ---
  // The start folder: typed, or chosen with cmdBrowse.
  controls::Label lblDir1{"lblDir1", "Look in"};
  controls::TextBox Dir1{"Dir1"};
  controls::CommandButton cmdBrowse{"cmdBrowse", "Browse..."};
  controls::Label Label3_0{"Label3", "File Type"};
  controls::TextBox zFileExt{"zFileExt", ".wav"};  // always lower-case; 4 characters can be typed
  controls::Label Label3_1{"Label3", "File Name (optional)"};
  controls::TextBox Text1{"Text1"};                 // the name filter
  controls::CheckBox chkhidelist{"chkhidelist", "Hide lists when searching"};
  controls::CommandButton Command1{"Command1", kSearchCaption};
  controls::ListBox lstfiles{"lstfiles"};  // found files, in the order found
  controls::ListBox lstdirs{"lstdirs"};    // folders still to read, the one being read first
  controls::ListBox List1{"List1"};        // every folder queued in this search
  controls::Label lbltime{"lbltime", "Time taken: 0 second(s)"};
  controls::Label Label1{"Label1"};        // summary of the last search
  controls::Label Label2{"Label2", "Right-click on a file name for pop-up menu options"};
  controls::CommandButton cmdend{"cmdend", "Close"};

  // The result list's pop-up menu: shown at the pointer, never in a menu bar. Its commands act
  // on the selected entry.
  controls::MenuItem mnuSeelectfile{"mnuSeelectfile", "Select for Conversion"};
  controls::MenuItem mnuRemoveFile{"mnuRemoveFile", "Remove File from list"};
  controls::MenuItem mnuDelete{"mnuDelete", "Delete File"};
  controls::MenuItem mnuClose{"mnuClose", "Close Window"};
  controls::MenuItem mnupopup{"mnupopup", "popup", {&mnuSeelectfile, &mnuRemoveFile, &mnuDelete, &mnuClose}};

  // --- "Internet Search" ---
  controls::Label Label4{"Label4", "ENGINE:"};
  controls::ComboBox search1{"search1", controls::ComboBox::Style::Editable, "search1"};  // the engine
  controls::TextBox Text3{"Text3", "Keywords to search"};
  controls::CommandButton Cmdwebsearch{"Cmdwebsearch", "Search"};
  // The browser of the tab, set by the view; without one (no display) nothing is shown.
  WebBrowser* Web1 = nullptr;
  void SetWebBrowser(WebBrowser* browser) { Web1 = browser; }

  // The collection, which takes the files chosen for conversion.
  void SetCollection(FinderCollection* collection) { collection_ = collection; }
  // The folder of the running program: the start page is written beside it where it can be.
  void SetProgramFolder(std::string folder) { programFolder_ = std::move(folder); }

  // Centres the window on the screen and starts in the current folder.
  void Form_Load();
  // Loads the window when needed and shows it.
  void Show();
  // Stops a running search and unloads the window.
  void Form_Unload();

  void Command1_Click();
  void cmdBrowse_Click();
  void cmdend_Click() { Form_Unload(); }
  void zFileExt_Change();

  bool Searching() const { return running_; }

  // --- the result list's commands ---
  // A right press with a WAV or MP3 entry selected opens the pop-up menu.
  void lstfiles_MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y);
  void mnuSeelectfile_Click();
  void mnuRemoveFile_Click();
  void mnuDelete_Click();
  void mnuClose_Click() { Form_Unload(); }

  // --- the internet search ---
  // Each time the window becomes the active one: the blank start page, written afresh.
  void Form_Activate();
  void Cmdwebsearch_Click();
  // Enter searches too, and then empties the engine box.
  void Text3_KeyPress(int16_t& keyAscii);

  // Folders logged in the current search, the start folder included (stops at 32767), and
  // files in the result list at its end; both shown in the summary, then reset.
  int16_t DirectoryCount = 0;
  int32_t FileCount = 0;

 private:
  void StartSearch();
  void SearchDriver();
  void StopSearch();
  void EndOfSearch(double startTime);
  void ShowSummary();
  void EnableFilters(bool on);
  void GuardTimeLabel();

  EventLoop& loop_;
  Dialogs& dialogs_;
  controls::Screen& screen_;
  bool running_ = false;          // a search is inside Command1_Click
  bool stopRequested_ = false;    // "Stop!" was pressed during it
  bool restartPending_ = false;   // "Search !" was pressed while a stopped search finished
  controls::Connection timeLabelGuard_;
  std::vector<controls::Connection> jobConnections_;

  void ConnectResultCommands();
  void ConnectInternetSearch();
  void FillEngineBox();
  void SearchTheWeb(const char* invalidEngineTitle);
  // Takes the entry off the result list: the one at `index` when it still holds `path`, else
  // the first that does (the list may have changed while events ran).
  void Unlist(int32_t index, const std::string& path);
  FinderCollection* collection_ = nullptr;
  std::string programFolder_;
};

}  // namespace korvalin
