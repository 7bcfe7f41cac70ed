#pragma once
// The Playlist Editor on screen: the playlist with its commands on the left, the current file,
// its header view and tag boxes on the right; each widget bound to its control of frmPlayList.

#include <QWidget>
#include <string>

#include "mp3/frmPlayList.h"
#include "platform/qt/Binder.h"

namespace korvalin {

class frmPlayListView : public QWidget {
 public:
  // `pictureFolder`: where the play and stop pictures are found.
  frmPlayListView(frmPlayList& form, const std::string& pictureFolder, QWidget* parent = nullptr);

 private:
  QWidget* BuildPlaylistSide();
  QWidget* BuildHeaderSide();

  frmPlayList& form_;
  Binder binder_;
};

}  // namespace korvalin
