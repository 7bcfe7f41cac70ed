#pragma once
// Qt ends the process abruptly when it cannot reach a display. The desktop program asks here
// first, so that it can say why it does not start and what to do instead.

#include <string>

struct xcb_connection_t;

namespace korvalin {

class DisplayCheck {
 public:
  // Looks at the environment and, when the X display is the one Qt will use, connects to it.
  DisplayCheck();
  // The connection is held until here: an X server with no other client resets when its last
  // client leaves, and a connection Qt makes during that reset fails. Keep the check until Qt
  // has connected.
  ~DisplayCheck();
  DisplayCheck(const DisplayCheck&) = delete;
  DisplayCheck& operator=(const DisplayCheck&) = delete;

  // What the program prints before it exits when no window can be shown here, one or more lines;
  // "" when it can go on.
  const std::string& Problem() const { return problem_; }

 private:
  xcb_connection_t* connection_ = nullptr;
  std::string problem_;
};

}  // namespace korvalin
