#include "about/frmAbout.h"
#include "common/ProgramTitle.h"

namespace korvalin {
namespace {

constexpr int32_t kDesignWidth = 5400;   // twips
constexpr int32_t kDesignHeight = 3600;

}  // namespace

frmAbout::frmAbout(Services& services, controls::MenuItem& menu) : services_(services) {
  window.Move(0, 0, kDesignWidth, kDesignHeight);
  menu.Append(mnuAbout);
  mnuAbout.OnClick = [this] { Show(); };
  cmdOK.OnClick = [this] { Form_Unload(); };
  window.OnUnload = [this] { Form_Unload(); };
}

void frmAbout::Show() {
  lblProgram.SetCaption(kProgramTitle);
  lstLibraries.Clear();
  for (const auto& library : services_.libraries) lstLibraries.AddItem(library);
  const controls::Screen& screen = services_.screen;
  window.Move((screen.Width() - window.Width()) / 2, (screen.Height() - window.Height()) / 2, window.Width(),
              window.Height());
  window.SetLoaded(true);
  window.SetVisible(true);
}

void frmAbout::Form_Unload() {
  window.SetVisible(false);
  window.SetLoaded(false);
}

}  // namespace korvalin
