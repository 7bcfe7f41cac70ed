#pragma once
// The program's name with its version, as every window shows it: the main window's caption when
// no job reports progress, the tray form's caption and the About box.

#ifndef KORVALIN_VERSION
#define KORVALIN_VERSION "unknown"
#endif

namespace korvalin {

inline constexpr const char* kProgramTitle = "Korvalin V " KORVALIN_VERSION;

}  // namespace korvalin
