#pragma once
// The one way the program deletes a user's audio file.

#include <string>

#include "platform/EventLoop.h"

namespace korvalin {

// Makes sure the file can be opened (creating it when missing), deletes it, then pauses 0.2
// seconds while events keep running. A file that is write-protected or held open under a lock
// is not deleted. A symbolic link is removed itself (a dangling one too); what it points to
// stays. Failures raise an error with the source "p_DestroyFile".
void p_DestroyFile(const std::string& DFile, EventLoop& loop);

}  // namespace korvalin
