#pragma once
// A real disc's CD-Text as libcdio reads it from the lead-in.

#include <vector>

#include "platform/DiscText.h"

typedef struct cdtext_s cdtext_t;

namespace korvalin {

// The text of `cdtext` for the disc (libcdio's track 0) and each of `trackNumbers`. A disc may
// carry up to eight language blocks; every one is read, and per field the first block that has
// text for it gives it. Nothing for a null `cdtext` (a disc without CD-Text).
DiscText DiscTextOf(cdtext_t* cdtext, const std::vector<int>& trackNumbers);

}  // namespace korvalin
