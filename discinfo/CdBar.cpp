#include "discinfo/CdBar.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "common/TrackLine.h"

namespace korvalin {

namespace {
constexpr std::size_t kReplySize = 64;
}

CdBar::CdBar(Services& services, CdBarParts parts)
    : services_(services),
      collection_(parts.collection),
      cd_(parts.cd),
      state_(parts.state),
      capture_(parts.capture),
      jobs_(parts.jobs) {
  cmbDrives.OnClick = [this] { cmbDrives_Click(); };
  cmdRefresh.OnClick = [this] { cmdRefresh_Click(); };
  Command11.OnClick = [this] { Command11_Click(); };
  Command12.OnClick = [this] { Command12_Click(); };
  Check3.OnClick = [this] { Check3_Click(); };
}

void CdBar::PlaceControls() {
  cmbDrives.Move(60, 45, 2700, 315);
  cmdRefresh.Move(2820, 45, 720, 315);
  Command11.Move(3600, 45, 420, 315);
  Command12.Move(4080, 45, 420, 315);
  Check3.Move(4620, 45, 1740, 315);  // wide enough for "Select Tracks"
  lblCDID.Move(6420, 75, 1200, 255);
  lblNumTracks.Move(7680, 75, 900, 255);
  cmdRefresh.SetToolTipText("Refresh CD Info");
  Command11.SetPicture("play.svg");
  Command12.SetPicture("stop.svg");
}

void CdBar::cmdRefresh_Click() {
  MediaControl& mci = services_.media;
  std::array<char, kReplySize> reply;
  reply.fill(' ');
  auto replyText = [&] { return TextBeforeNul(reply.data(), reply.size()); };
  int32_t opened = -1;
  int32_t tracks = 0;
  IgnoreErrors([&] { controls::Fire(OnDiscRead); });  // looked up in the background
  IgnoreErrors([&] { lblCDID.SetCaption(""); }, [&] { lblNumTracks.SetCaption(""); },
               [&] { collection_.ForgetTracks(); },
               [&] { mci.SendCommand("stop cd"); }, [&] { mci.SendCommand("close cd"); },
               [&] { opened = mci.SendCommand("open cdaudio alias cd"); });
  if (opened != 0) return;  // no drive or no disc: nothing to show, nothing to say
  IgnoreErrors(
      [&] {
        mci.SendCommand("info cd identity", reply.data(), reply.size());
        lblCDID.SetCaption(replyText());
      },
      [&] {
        mci.SendCommand("status cd number of tracks", reply.data(), reply.size());
        lblNumTracks.SetCaption(replyText());
      },
      [&] { services_.loop.Yield(); }, [&] { tracks = CInt32(Val(lblNumTracks.Caption())); });
  // A disc of one track is a music CD when that track is audio; only a data track makes it none.
  bool oneAudioTrack = false;
  if (tracks == 1) {
    IgnoreErrors([&] {
      oneAudioTrack = mci.SendCommand("status cd type track 1", reply.data(), reply.size()) == 0 && replyText() == "audio";
    });
  }
  if (tracks < 2 && !oneAudioTrack) {
    IgnoreErrors([&] { services_.loop.Yield(); },
                 [&] {
                   if (tracks == 1) {
                     services_.dialogs.MsgBox(
                         "The current CD is not a music CD. If you wish to use your CD as a source, please insert a "
                         "music CD into the CD drive.");
                   } else if (tracks == 0) {
                     services_.dialogs.MsgBox(
                         "The CD drive is empty. If you wish to use your CD as a source, please insert a music CD into "
                         "the CD drive.");
                   }
                 });
    return;  // the device stays open
  }
  IgnoreErrors([&] { mci.SendCommand("set cd time format hms"); });
  for (int32_t n = 1; n <= tracks; ++n) {
    IgnoreErrors([&] {
      mci.SendCommand("status cd length track " + std::to_string(n), reply.data(), reply.size());
      collection_.AddAvailableTrack(TrackLine(n, replyText()));
    });
  }
  state_.TrackLengths.assign(static_cast<std::size_t>(tracks) + 1, 0);
  IgnoreErrors([&] { mci.SendCommand("set cd time format milliseconds"); });
  for (int32_t n = 1; n <= tracks; ++n) {
    IgnoreErrors([&] {
      mci.SendCommand("status cd length track " + std::to_string(n), reply.data(), reply.size());
      const std::string text = replyText();
      const double value = Val(text);
      // A reply that is not a whole number leaves the length as it was.
      if (!text.empty() && value == static_cast<double>(static_cast<int64_t>(value))) {
        state_.TrackLengths[static_cast<std::size_t>(n)] = CInt32(value);
      }
    });
  }
  IgnoreErrors([&] { mci.SendCommand("close cd"); });
}

void CdBar::Command11_Click() {
  int64_t offset = 0;
  int32_t tracks = 0;
  IgnoreErrors([&] { tracks = CInt32(Val(lblNumTracks.Caption())); });
  for (int32_t i = 1; i <= tracks; ++i) {
    if (i == state_.CurrentTrack) break;
    // Without a refresh there are no lengths: the offset stays at its last good value.
    if (static_cast<std::size_t>(i) < state_.TrackLengths.size()) offset += state_.TrackLengths[static_cast<std::size_t>(i)];
  }
  IgnoreErrors([&] { services_.media.SendCommand("open cdaudio alias cd"); },
               [&] { services_.media.SendCommand("set cd time format milliseconds"); },
               [&] { services_.media.SendCommand("play cd from " + std::to_string(offset)); });
}

void CdBar::Command12_Click() {
  // During a recording this stop ends it as Stop does, so the next tick saves what was recorded:
  // closing the recorder here would throw the recording away.
  if (capture_.Recording()) {
    jobs_.StopEverything();
    return;
  }
  for (const char* command : {"stop capture", "stop cd", "close capture", "close cd"}) {
    IgnoreErrors([&] { services_.media.SendCommand(command); });
  }
}

void CdBar::FillDriveList() {
  int32_t adapters = -1;  // a library that cannot list drives leaves the list empty
  IgnoreErrors([&] { adapters = cd_.Library().GetNumAdapters(); });
  for (int32_t i = 0; i <= adapters; ++i) {
    IgnoreErrors([&] { cmbDrives.AddItem(DriveListText(cd_.GetDriveEntry(i))); });
  }
  IgnoreErrors([&] { cmbDrives.SetListIndex(0); });
}

void CdBar::cmbDrives_Click() {
  const int32_t index = cmbDrives.ListIndex();
  // The list ends in a blank line, which stands for no drive.
  const bool isDrive = index >= 0 && index < cmbDrives.ListCount() && !Trim(cmbDrives.List(index)).empty();
  IgnoreErrors([&] { cd_.CloseDrive(); },
               [&] {
                 if (isDrive) cd_.OpenDrive(index);
               },
               [&] { controls::Fire(OnDiscRead); });
  // The track list and the rip read the same drive: the CD information follows the choice.
  const int32_t chosen = isDrive ? index : -1;
  if (chosen == chosenDrive_) return;
  chosenDrive_ = chosen;
  IgnoreErrors([&] { services_.media.SelectDrive(chosen); });
  RefreshList();
}

void CdBar::RefreshList() {
  IgnoreErrors([&] { cmdRefresh_Click(); }, [&] { collection_.showfiles(); });
}

void CdBar::Check3_Click() {
  if (Check3.Value() == controls::CheckBox::Checked) {
    IgnoreErrors([&] { Check3.SetCaption("All Tracks"); },
                 [&] { collection_.TakeEveryAvailableTrack(TakeTracks::FromAvailableList); });
  } else {
    IgnoreErrors([&] { Check3.SetCaption("Select Tracks"); }, [&] { cmdRefresh_Click(); });
  }
}

void CdBar::FillJobOptions(JobOptions& job) const {
  job.discIdentity = Val(lblCDID.Caption());
  job.trackCount = Val(lblNumTracks.Caption());
}

}  // namespace korvalin
