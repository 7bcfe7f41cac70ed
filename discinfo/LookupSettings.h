#pragma once
// How a disc is looked up, as the user's settings say.

#include "discinfo/DiscInfo.h"
#include "settings/Settings.h"

namespace korvalin {

LookupOptions LookupOptionsFrom(const Settings& settings);

}  // namespace korvalin
