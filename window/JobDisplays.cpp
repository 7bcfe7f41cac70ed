#include "window/JobDisplays.h"

#include <algorithm>

#include "common/ProgramTitle.h"
#include "common/RaisedError.h"

namespace korvalin {

JobDisplays::JobDisplays(JobEvents& e, controls::Window& window, const Settings& settings)
    : window_(window), settings_(settings) {
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  auto follow = [this](controls::Connection c) { connections_.push_back(std::move(c)); };
  follow(e.status.Connect([this](StatusLine line, const std::string& text) {
    switch (line) {
      case StatusLine::Caption: window_.SetCaption(text); break;
      case StatusLine::NextAction: Label3.SetCaption(text); break;
      case StatusLine::Destination: Label2.SetCaption(text); break;
      case StatusLine::Status: lblStatus.SetCaption(text); break;
    }
  }));
  follow(e.progress.Connect([this](const std::string& text, int32_t bar) {
    Label33.SetCaption(text);
    ProgressBar1.SetValue(bar);
  }));
  follow(e.idle.Connect([this](bool soon) {
    if (soon) {
      Timer1.SetEnabled(true);
    } else {
      ResetStatus();
    }
  }));
  follow(e.starting.Connect([this] { IgnoreErrors([&] { stopNotice_.clear(); }); }));
  follow(e.stoppedBecause.Connect([this](const std::string& why) {
    stopNotice_ = why;
    lblStatus.SetCaption(why);
  }));
}

void JobDisplays::PlaceControls() {
  Label3.Move(60, 90, 4800, 255);
  Label2.Move(60, 60, 8800, 255);
  ProgressBar1.Move(60, 60, 2400, 240);
  Label33.Move(2520, 60, 1200, 240);
  lblStatus.Move(3780, 60, 5100, 240);
}

void JobDisplays::ArrangeLines(int32_t width, int32_t nextActionEnd) {
  Label3.SetWidth(std::max(0, nextActionEnd - Label3.Left()));
  Label2.SetWidth(std::max(0, width - 2 * Label2.Left()));
  lblStatus.SetWidth(std::max(0, width - lblStatus.Left() - Label2.Left()));
}

void JobDisplays::ResetStatus() {
  Label3.SetCaption("Next action:");
  Label2.SetCaption(DestinationLine());
  window_.SetCaption(kProgramTitle);
  ProgressBar1.SetValue(0);
  lblStatus.SetCaption(stopNotice_);
  Label33.SetCaption("");
}

void JobDisplays::Timer1_Timer() {
  Timer1.SetEnabled(false);
  ResetStatus();
}

}  // namespace korvalin
