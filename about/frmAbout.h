#pragma once
// The About box: the program's name and version and the outside libraries it runs on, with
// their versions. It puts its own item in the menu it is given; that item shows the box.

#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/MenuItem.h"
#include "controls/Window.h"
#include "platform/Services.h"

namespace korvalin {

class frmAbout {
 public:
  frmAbout(Services& services, controls::MenuItem& menu);
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  controls::Window window{"frmAbout", "About Korvalin"};
  controls::Label lblProgram{"lblProgram"};
  controls::ListBox lstLibraries{"lstLibraries"};
  controls::CommandButton cmdOK{"cmdOK", "OK"};
  controls::MenuItem mnuAbout{"mnuAbout", "About Korvalin"};

  // Fills the box, centres it on the screen and shows it.
  void Show();
  void Form_Unload();

 private:
  Services& services_;
};

}  // namespace korvalin
