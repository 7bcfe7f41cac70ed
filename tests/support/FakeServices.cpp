#include "tests/support/FakeServices.h"

#include <unistd.h>

namespace korvalin::test {

ProgramFolder::ProgramFolder() { ::symlink(KORVALIN_SOURCE_DIR "/pictures", (*this / "pictures").c_str()); }

}  // namespace korvalin::test
