#include "app/Form1Windows.h"

#include "app/Form1.h"

#include "encode/EncoderChoices.h"

namespace korvalin {

Form1Windows::Form1Windows(Form1& main)
    : tray(main.services, main.window, main.displays.lblStatus, main.programJobs, forms),
      finder(forms.Make<frmsearch>(main.services, main.jobs.events)),
      playlistEditor(forms.Make<frmPlayList>(main.services, main.collection, main.jobs.events)),
      prefs(forms.Make<FrmPrefs>(main.services, main.settings, QualityListEntries())),
      about(forms.Make<frmAbout>(main.services, main.mnuHelp)),
      discInfo(forms.Make<frmDiscInfo>(main.services, main.settings, main.mnuActiopn, main.programJobs.cd, main.displays.lblStatus,
                                       main.jobs.events)) {}

}  // namespace korvalin
