#include "app/Form1Windows.h"

#include "encode/EncoderChoices.h"

namespace korvalin {

Form1Windows::Form1Windows(MainWindowState& main, controls::Label& statusLine, Form1Frame& frame)
    : tray(main.services, main.window, statusLine, main.programJobs, forms),
      trayForm(tray.trayForm),
      finder(forms.Make<frmsearch>(main.services, main.jobs.events)),
      playlistEditor(forms.Make<frmPlayList>(main.services, main.collection, main.jobs.events)),
      prefs(forms.Make<FrmPrefs>(main.services, main.settings, QualityListEntries())),
      about(forms.Make<frmAbout>(main.services, frame.mnuHelp)),
      discInfo(forms.Make<frmDiscInfo>(main.services, main.settings, frame.mnuActiopn, main.cd, statusLine,
                                       main.jobs.events)) {}

}  // namespace korvalin
