#include "tools/LookupSetup.h"

namespace korvalin::cli {

LookupOptions StoredLookupOptions() { return {}; }

OnlineSources MakeOnlineSources(EventLoop&, const LookupOptions&) { return {}; }

}  // namespace korvalin::cli
