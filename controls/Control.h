#pragma once
// The state every shown control shares: name, enabled, visible, position and size (twips) and
// tool tip, with change notification. Views bind to it; forms only ever touch controls.

#include <cstdint>
#include <functional>
#include <string>

#include "controls/Signal.h"

namespace korvalin::controls {

inline constexpr int32_t TwipsPerPixel = 15;

enum class Property {
  Caption,
  Text,
  Value,
  Enabled,
  Visible,
  Geometry,
  ToolTip,
  Items,         // the whole item list changed (cleared or replaced)
  ItemInserted,  // Change::index tells where
  ItemRemoved,
  ItemChanged,
  ListIndex,
  Interval,
  Checked,
  Loaded,
  MousePointer,
  Range,
  MaxLength,
  ScaleSize,
  WindowState,
  Picture,
};

struct Change {
  Property what;
  int index = -1;
};

// An event handler slot: empty means "no handler".
using Event = std::function<void()>;

inline void Fire(const Event& e) {
  if (e) e();
}

class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { Set(enabled_, on, Property::Enabled); }

  bool Visible() const { return visible_; }
  void SetVisible(bool on) { Set(visible_, on, Property::Visible); }

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetLeft(int32_t v) { Move(v, top_, width_, height_); }
  void SetTop(int32_t v) { Move(left_, v, width_, height_); }
  void SetWidth(int32_t v) { Move(left_, top_, v, height_); }
  void SetHeight(int32_t v) { Move(left_, top_, width_, v); }
  // Negative sizes are refused, as the toolkit refuses them.
  void Move(int32_t left, int32_t top, int32_t width, int32_t height);

  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(std::string text) { Set(toolTip_, std::move(text), Property::ToolTip); }

  Signal<Change> Changed;

 protected:
  void Notify(Property p, int index = -1) { Changed.Emit(Change{p, index}); }

  template <typename T>
  bool Set(T& field, T value, Property p) {
    if (field == value) return false;
    field = std::move(value);
    Notify(p);
    return true;
  }

 private:
  std::string name_;
  bool enabled_ = true;
  bool visible_ = true;
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::string toolTip_;
};

}  // namespace korvalin::controls
