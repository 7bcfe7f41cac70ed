#include "app/Form1.h"

#include <cmath>

#include "common/Numeric.h"
#include "common/RaisedError.h"

namespace korvalin {

namespace {
// Design sizes, in twips.
constexpr int32_t kDesignWidth = 6000;
constexpr int32_t kDesignHeight = 6600;
constexpr int32_t kOptionsPanelWidth = 2100;
}  // namespace

Form1::Form1(Services& services) : cd(services.cdLibrary), services_(services) {
  PlaceDesignGeometry();
  cmbDrives.OnClick = [this] { cmbDrives_Click(); };
  timers_.push_back(services_.loop.Attach(Timer1));
  timers_.push_back(services_.loop.Attach(tmrWarning));
  window.OnResize = [this] { Form_Resize(); };
  window.OnMouseDown = [this](int16_t button, int16_t shift, int32_t x, int32_t y) { Form_MouseDown(button, shift, x, y); };
}

void Form1::PlaceDesignGeometry() {
  window.Move(0, 0, kDesignWidth, kDesignHeight);
  window.SetScaleSize(kDesignWidth, kDesignHeight);
  Picture3.Move(0, 0, kDesignWidth, 360);
  Picture4.Move(0, 360, kDesignWidth, 315);
  Picture4.SetVisible(false);
  Picture5.Move(0, 360, kDesignWidth, 285);
  Picture7.Move(0, 960, kDesignWidth - kOptionsPanelWidth - 50, 4935);
  Picture8.Move(kDesignWidth - kOptionsPanelWidth, 960, kOptionsPanelWidth, 4935);
  Picture2.Move(0, kDesignHeight - 705, kDesignWidth, 345);
  Picture1.Move(0, kDesignHeight - 360, kDesignWidth, 360);

  // Contents, relative to their bar.
  cmbDrives.Move(60, 30, 2800, 255);
  Label3.Move(60, 30, 5800, 225);
  Label2.Move(60, 60, 5800, 225);
  ProgressBar1.Move(60, 60, 1500, 240);
  Label33.Move(1620, 60, 900, 240);
  lblStatus.Move(2580, 60, 3300, 240);
}

void Form1::Form_Resize() {
  const int32_t width = window.ScaleWidth();
  const int32_t height = window.ScaleHeight();
  IgnoreErrors(
      [&] {
        // What the window system does for aligned bars: they take the full width and stack.
        int32_t top = 0;
        for (auto* bar : TopBars()) {
          bar->Move(0, top, width, bar->Height());
          if (bar->Visible()) top += bar->Height();
        }
        int32_t bottom = height;
        for (auto* bar : BottomBars()) {
          if (bar->Visible()) bottom -= bar->Height();
          bar->Move(0, bar->Visible() ? bottom : bottom - bar->Height(), width, bar->Height());
        }
      },
      [&] { Picture7.SetLeft(0); },
      [&] { Picture8.SetLeft(width - Picture8.Width()); },
      [&] {
        int32_t top = Picture5.Height();
        if (Picture3.Visible()) top += Picture3.Height();
        if (Picture4.Visible()) top += Picture4.Height();
        Picture7.SetTop(top);
      },
      [&] {
        int32_t h = height - Picture7.Top();
        if (Picture1.Visible()) h -= Picture1.Height();
        if (Picture2.Visible()) h -= Picture2.Height();
        Picture7.SetHeight(h);
      },
      [&] { Picture7.SetWidth(width - Picture8.Width() - 50); });
}

void Form1::ChangeProgress(const std::string&, float done, float total) {
  if (total == 0) throw RaisedError::Of(errnum::DivisionByZero);  // the displays keep their values
  const float percent = done / total * 100.0f;
  const std::string text = Format(percent, "00.00") + " %";
  window.SetCaption("Progress " + text);
  Label33.SetCaption(text);
  ProgressBar1.SetValue(static_cast<int32_t>(std::floor(percent)));
}

void Form1::FillDriveList() {
  int32_t adapters = -1;
  IgnoreErrors([&] { adapters = cd.Library().GetNumAdapters(); });
  for (int32_t i = 0; i <= adapters; ++i) {
    IgnoreErrors([&] { cmbDrives.AddItem(DriveListText(cd.GetDriveEntry(i))); });
  }
  IgnoreErrors([&] { cmbDrives.SetListIndex(0); });
}

void Form1::cmbDrives_Click() {
  IgnoreErrors([&] { cd.CloseDrive(); }, [&] { cd.OpenDrive(cmbDrives.ListIndex()); });
}

void Form1::Form_MouseDown(int16_t button, int16_t, int32_t, int32_t) {
  if (button == 1) N1Drag();
}

void Form1::N1Drag() { window.RequestSystemMove(); }

}  // namespace korvalin
