#pragma once
// The desktop's notification area (the tray): icons with a tip, added, changed and removed through
// one record, and the mouse messages an icon reports back to the window that owns it.

#include <array>
#include <cstdint>
#include <string>

#include "controls/Signal.h"
#include "controls/Window.h"

namespace korvalin {

// What a call does with the icon the record names.
enum class NotifyMessage : uint32_t { Add = 0, Modify = 1, Delete = 2 };

// Which fields of the record a call brings.
inline constexpr uint32_t NIF_MESSAGE = 1;
inline constexpr uint32_t NIF_ICON = 2;
inline constexpr uint32_t NIF_TIP = 4;

// Mouse messages an icon reports.
namespace traymouse {
inline constexpr int32_t Move = 512;
inline constexpr int32_t LeftUp = 514;
inline constexpr int32_t LeftDoubleClick = 515;
inline constexpr int32_t RightUp = 517;
inline constexpr int32_t MiddleUp = 520;
}  // namespace traymouse

// The record passed with every call, in its first form.
struct NotifyIconData {
  static constexpr uint32_t kSize = 88;
  static constexpr std::size_t kTipField = 64;  // the tip's text and its closing NUL

  uint32_t cbSize = 0;
  const controls::Window* hWnd = nullptr;  // the window that owns the icon and hears its mouse
  uint32_t uID = 0;                        // the icon's identifier within that window
  uint32_t uFlags = 0;
  int32_t uCallbackMessage = 0;            // the message the owner's mouse events come as
  std::string hIcon;                       // the icon's picture (a file in the pictures folder)
  std::array<char, kTipField> szTip{};

  // Fills the tip field with `text`, cut so that it and the NUL fit. A cut never splits a
  // character of more than one byte.
  void SetTip(const std::string& text);
  // The tip's text, up to the NUL.
  std::string Tip() const;
};

class NotificationArea {
 public:
  virtual ~NotificationArea() = default;

  // Whether this desktop has a notification area that shows icons at all.
  virtual bool Available() = 0;
  // Adds, changes or removes the icon named by the record's window and identifier. True when the
  // call did what it asked: adding an icon that is there, or changing or removing one that is
  // not, does nothing and answers false.
  virtual bool Shell_NotifyIcon(NotifyMessage message, const NotifyIconData& data) = 0;

  // Mouse activity over an icon: its window, its identifier and the mouse message.
  controls::Signal<const controls::Window*, uint32_t, int32_t> MouseMessage;
};

// The service of a desktop without a notification area: nothing is ever shown.
class NoNotificationArea : public NotificationArea {
 public:
  bool Available() override { return false; }
  bool Shell_NotifyIcon(NotifyMessage, const NotifyIconData&) override { return false; }
  // One for the whole program, for services that are given no notification area.
  static NoNotificationArea& Instance();
};

}  // namespace korvalin
