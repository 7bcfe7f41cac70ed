// The main window's commands: stop and cancel, exit and minimise, open, help and the option
// switches.

#include <unistd.h>

#include "app/Form1.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "platform/UserFolders.h"

namespace korvalin {

void Form1::RunJob(const std::function<void()>& job) {
  // Nor does a job start once the window is closing.
  if (!unloaded_) jobs.Run(job);
}

void Form1::CmdSelectAction_Click() {
  const std::string text = collection.Selected().node;
  // The collection keeps each file's name as it is: "Song.WAV" is a WAV file too.
  RunJob([&] {
    switch (KindOfNode(text)) {
      case EntryKind::Track: cmdStart_Click(); break;
      case EntryKind::Wav: cmdEncFile_Click(); break;
      case EntryKind::Mp3: CmdDecoder_Click(); break;
      case EntryKind::None: break;
    }
  });
}

void Form1::mnuStart_Click() {
  IgnoreErrors([&] { mnuToolbar.SetChecked(true); }, [&] { Picture3.SetVisible(true); }, [&] { Form_Resize(); });
  CmdSelectAction_Click();
}

void Form1::ExitCommand() {
  tray.UnloadMainWindow();
  window.RequestClose();
}

void Form1::mnuOpenfile_Click() {
  IgnoreErrors([&] {
    FileDialogRequest request;
    request.title = "Select WAV or MP3 file";
    request.filter = "WAV, MP3|*.wav;*.mp3";
    request.defaultExtension = "wav";
    const auto chosen = services.dialogs.OpenFile(request);
    if (chosen && !chosen->empty()) collection.Cmaddfile2(*chosen);  // it takes WAV and MP3 only
  });
}

void Form1::Cmdhelp_Click() {
  try {
    if (::chdir(services.programFolder.c_str()) != 0) throw RaisedError::Of(errnum::PathNotFound);
    if (!services.help.ShowHelp(ProgramDataFolder(services.programFolder) + "/Tesmor2.chm")) throw RaisedError::Of(errnum::FileNotFound);
  } catch (const std::exception&) {
    services.dialogs.MsgBox("Can't find \"Tesmor2.chm\"");
    services.screen.SetMousePointer(controls::MousePointer::Default);
  }
}

void Form1::Check3_Click() {
  if (Check3.Value() == controls::CheckBox::Checked) {
    IgnoreErrors([&] { Check3.SetCaption("All Tracks"); },
                 [&] { collection.TakeEveryAvailableTrack(TakeTracks::FromAvailableList); });
  } else {
    IgnoreErrors([&] { Check3.SetCaption("Select Tracks"); }, [&] { cmdRefresh_Click(); });
  }
}

void ApplyStartArguments(Form1& form, const StartArguments& arguments) {
  if (arguments.drive >= 0 && arguments.drive < form.cmbDrives.ListCount()) {
    IgnoreErrors([&] { form.cmbDrives.SetListIndex(arguments.drive); });
  }
  for (const std::string& file : arguments.files) {
    IgnoreErrors([&] { form.collection.Cmaddfile2(file); }, [&] { form.collection.showfiles3(file); });
  }
}

}  // namespace korvalin
