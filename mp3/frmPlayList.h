#pragma once
// The Playlist Editor: a list of MP3 files kept in the settings store's section "music", played
// and stopped through the window's own MP3 player control, and the header view of the current
// file (the path in Text5): its frame header, its ID3v1 tag, a tag writer, rename and delete.
//
// The stored playlist is "HowMany" and the keys "1" to "HowMany"; it is read once per load and
// written by add and by every rebuild.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "collection/CollectionTree.h"
#include "controls/CheckBox.h"
#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/TextBox.h"
#include "controls/Window.h"
#include "joblife/JobEvents.h"
#include "mp3/Mp3Info.h"
#include "platform/Services.h"

namespace korvalin {

inline constexpr const char* kPlaylistCount = "HowMany";
// The most entries a load reads: a damaged count cannot make it read for ever.
inline constexpr int32_t kPlaylistLimit = 32767;

class frmPlayList {
 public:
  // `collection` is the main window's: a clicked entry may be added to it. The editor closes when
  // a job starts and when the program closes (`jobs`).
  frmPlayList(Services& services, CollectionTree& collection, JobEvents& jobs);
  ~frmPlayList();
  frmPlayList(const frmPlayList&) = delete;
  frmPlayList& operator=(const frmPlayList&) = delete;

  controls::Window window{"frmPlayList", "Playlist Editor"};
  controls::ListBox List2{"List2"};  // the playlist: one full MP3 path a line
  controls::ListBox List3{"List3"};  // hidden scratch list of a rebuild
  controls::ListBox List1{"List1"};  // header view lines
  controls::TextBox Text5{"Text5"};  // the current file
  // Tag boxes 1 to 8: artist, title, album, year, comment, genre, has tag, length.
  std::array<controls::TextBox, 8> Text4Boxes{controls::TextBox{"Text4(1)"}, controls::TextBox{"Text4(2)"},
                                              controls::TextBox{"Text4(3)"}, controls::TextBox{"Text4(4)"},
                                              controls::TextBox{"Text4(5)"}, controls::TextBox{"Text4(6)"},
                                              controls::TextBox{"Text4(7)"}, controls::TextBox{"Text4(8)"}};
  std::array<controls::Label, 8> Text4Labels{controls::Label{"Label4(1)"}, controls::Label{"Label4(2)"},
                                             controls::Label{"Label4(3)"}, controls::Label{"Label4(4)"},
                                             controls::Label{"Label4(5)"}, controls::Label{"Label4(6)"},
                                             controls::Label{"Label4(7)"}, controls::Label{"Label4(8)"}};
  controls::CheckBox Check11{"Check11", "Click on a file to add it to the Files List"};
  controls::CommandButton cmdHdr1{"cmdHdr1", "..."};
  controls::CommandButton cmdHdr2{"cmdHdr2", "Read header"};
  controls::CommandButton cmdTag{"cmdTag", " Write tag"};
  controls::CommandButton Command20{"Command20", "Add to PlayList"};
  controls::CommandButton Command6{"Command6", "Delist"};
  controls::CommandButton Command10{"Command10", "Delete  File"};
  controls::CommandButton Command2{"Command2", "Rename File"};
  controls::CommandButton Command11{"Command11"};  // play
  controls::CommandButton Command12{"Command12"};  // stop

  // Tag box 1 to 8.
  controls::TextBox& Text4(int index) { return Text4Boxes.at(static_cast<std::size_t>(index - 1)); }

  // The last analysis the header view shows.
  Mp3Info info;

  // Centres the window on the screen and loads the playlist.
  void Form_Load();
  // Loads the window when needed and shows it.
  void Show();
  // Stops playback and unloads the window; the next load starts afresh from the store.
  void Form_Unload();

  void LoadPlaylist();
  // Removes the selected line, then keeps only the lines ending in "mp3" or "MP3" and stores
  // them as the whole playlist.
  void RebuildPlaylist();

  void List2_Click();
  void cmdHdr1_Click();
  void cmdHdr2_Click();
  void cmdTag_Click();
  void Command20_Click();
  void Command6_Click() { RebuildPlaylist(); }
  void Command10_Click();
  void Command2_Click();
  void Command11_Click();
  void Command12_Click();

  // The window's MP3 player control; made at load, released at unload.
  ActiveMP3* ActiveMP31() const { return player_.get(); }

 private:
  std::vector<controls::Connection> jobConnections_;
  void RemoveAndRebuild(int32_t index);
  void SavePlaylistValue(const std::string& key, const std::string& value);
  void ClearTagBoxes(int upTo);

  Services& services_;
  CollectionTree& collection_;
  std::unique_ptr<ActiveMP3> player_;
};

}  // namespace korvalin
