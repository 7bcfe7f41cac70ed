#include "window/MainToolbar.h"

#include <utility>

namespace korvalin {

namespace {
constexpr int32_t kButton = 480;  // twips, square
constexpr int32_t kButtonGap = 30;
}  // namespace

MainToolbar::MainToolbar(JobEvents& events) {
  Place();
  connections_.push_back(events.commandShown.Connect(
      [this](JobCommand c) { (c == JobCommand::Cancel ? Command2 : Command1).SetVisible(true); }));
  connections_.push_back(events.lowSpace.Connect([this](bool low) { Label5.SetVisible(low); }));
}

void MainToolbar::Place() {
  // One row from the left; the never-shown button keeps its place after the row, and the warning
  // sits after that.
  int32_t left = 60;
  for (auto* b : {&CmdSelectAction, &C777, &C5555555, &Copt, &Cmdhelp, &Command4, &Command1, &Command2, &Command5}) {
    b->Move(left, 30, kButton, kButton);
    left += kButton + kButtonGap;
  }
  Command7.Move(left, 30, kButton, kButton);
  Command7.SetVisible(false);
  Command2.SetVisible(false);
  Label5.Move(left + kButton + 120, 150, 2000, 255);
  Label5.SetVisible(false);

  const std::pair<controls::CommandButton*, const char*> looks[] = {
      {&CmdSelectAction, "start.svg"}, {&C777, "search.svg"},    {&C5555555, "playlist.svg"}, {&Copt, "preferences.svg"},
      {&Cmdhelp, "help.svg"},          {&Command4, "mixer.svg"}, {&Command1, "stop.svg"},     {&Command2, "cancel.svg"},
      {&Command5, "exit.svg"}};
  for (const auto& [button, picture] : looks) button->SetPicture(picture);
  const std::pair<controls::CommandButton*, const char*> tips[] = {
      {&CmdSelectAction, "Start"}, {&C777, "Search for Files"}, {&C5555555, "Playlist Editor"}, {&Copt, "Preferences"},
      {&Cmdhelp, "Help"},          {&Command4, "Sound Mixer"},  {&Command1, "Stop"},            {&Command2, "Cancel"},
      {&Command5, "Exit"}};
  for (const auto& [button, tip] : tips) button->SetToolTipText(tip);
}

}  // namespace korvalin
