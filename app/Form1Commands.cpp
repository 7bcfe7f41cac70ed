// The main window's commands: Start, exit, open, and the start arguments.

#include "app/Form1.h"
#include "common/RaisedError.h"

namespace korvalin {

void Form1::CmdSelectAction_Click() {
  // The collection keeps each file's name as it is: "Song.WAV" is a WAV file too.
  const EntryKind kind = KindOfNode(collection.Selected().node);
  jobs.Run([&] { programJobs.Start(kind); });
}

void Form1::mnuStart_Click() {
  IgnoreErrors([&] { mnuToolbar.SetChecked(true); }, [&] { Picture3.SetVisible(true); }, [&] { Form_Resize(); });
  CmdSelectAction_Click();
}

void Form1::ExitCommand() {
  windows.tray.UnloadMainWindow();
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

void ApplyStartArguments(Form1& form, const StartArguments& arguments) {
  if (arguments.drive >= 0 && arguments.drive < form.cdBar.cmbDrives.ListCount()) {
    IgnoreErrors([&] { form.cdBar.cmbDrives.SetListIndex(arguments.drive); });
  }
  for (const std::string& file : arguments.files) {
    IgnoreErrors([&] { form.collection.Cmaddfile2(file); }, [&] { form.collection.showfiles3(file); });
  }
}

}  // namespace korvalin
