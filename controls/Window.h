#pragma once
// A window's own state: caption, shown or not, loaded or not, mouse pointer, outer position and
// size, and the inner (client) size that its layout works with. All sizes are twips.

#include <cstdint>
#include <functional>

#include "controls/Control.h"
#include "controls/MenuItem.h"

namespace korvalin::controls {

enum class MousePointer : int16_t { Default = 0, Hourglass = 11 };

class Window : public Control {
 public:
  enum class State { Normal, Minimized, Maximized };

  explicit Window(std::string name, std::string caption = {}) : Control(std::move(name)), caption_(std::move(caption)) {
    SetVisible(false);
  }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text) { Set(caption_, std::move(text), Property::Caption); }

  bool Loaded() const { return loaded_; }
  void SetLoaded(bool on) { Set(loaded_, on, Property::Loaded); }

  controls::MousePointer MousePointer() const { return pointer_; }
  void SetMousePointer(controls::MousePointer p) { Set(pointer_, p, Property::MousePointer); }

  State WindowState() const { return state_; }
  void SetWindowState(State s) { Set(state_, s, Property::WindowState); }

  // The client area, which the view reports whenever it changes.
  int32_t ScaleWidth() const { return scaleWidth_; }
  int32_t ScaleHeight() const { return scaleHeight_; }
  void SetScaleSize(int32_t width, int32_t height) {
    if (width == scaleWidth_ && height == scaleHeight_) return;
    scaleWidth_ = width;
    scaleHeight_ = height;
    Notify(Property::ScaleSize);
  }

  // Hands a move of the window to the window system, which moves it with the pointer until the
  // mouse button is released.
  void RequestSystemMove() { SystemMoveRequested.Emit(); }
  Signal<> SystemMoveRequested;
  // Shows a pop-up menu (one of the window's menus) at the pointer.
  void PopupMenu(MenuItem& menu) { PopupRequested.Emit(&menu); }
  Signal<MenuItem*> PopupRequested;
  // Asks the window system to bring the shown window to the front and give it the focus (and
  // back from the task bar when it was minimised).
  void RequestActivate() { ActivateRequested.Emit(); }
  Signal<> ActivateRequested;
  // Asks the window system to close the window once its form has unloaded itself.
  void RequestClose() { CloseRequested.Emit(); }
  Signal<> CloseRequested;

  // Events the window system delivers; the form installs its handlers here.
  Event OnResize;
  // A mouse button pressed on the window's own surface (not on a control): button 1 left,
  // 2 right, 4 middle; position in twips.
  std::function<void(int16_t button, int16_t shift, int32_t x, int32_t y)> OnMouseDown;
  Event OnActivate;
  // Asked before the window closes; setting `cancel` keeps it open.
  std::function<void(bool& cancel)> OnQueryUnload;
  Event OnUnload;

 private:
  std::string caption_;
  bool loaded_ = false;
  controls::MousePointer pointer_ = controls::MousePointer::Default;
  State state_ = State::Normal;
  int32_t scaleWidth_ = 0, scaleHeight_ = 0;
};

// The screen: its size, and the program-wide mouse pointer.
class Screen {
 public:
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetSize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
  }

  controls::MousePointer MousePointer() const { return pointer_; }
  void SetMousePointer(controls::MousePointer p) {
    if (p == pointer_) return;
    pointer_ = p;
    Changed.Emit(Change{Property::MousePointer});
  }

  Signal<Change> Changed;

 private:
  int32_t width_ = 1024 * TwipsPerPixel, height_ = 768 * TwipsPerPixel;
  controls::MousePointer pointer_ = controls::MousePointer::Default;
};

}  // namespace korvalin::controls
