#include "platform/NotificationArea.h"

#include <algorithm>
#include <cstring>

namespace korvalin {

void NotifyIconData::SetTip(const std::string& text) {
  std::size_t n = std::min(text.size(), kTipField - 1);
  if (n < text.size()) {
    // Back to the start of the character the cut would split (UTF-8 continuation bytes are 10xxxxxx).
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  }
  szTip.fill('\0');
  std::memcpy(szTip.data(), text.data(), n);
}

std::string NotifyIconData::Tip() const {
  const auto end = std::find(szTip.begin(), szTip.end(), '\0');
  return std::string(szTip.begin(), end);
}

NoNotificationArea& NoNotificationArea::Instance() {
  static NoNotificationArea none;
  return none;
}

}  // namespace korvalin
