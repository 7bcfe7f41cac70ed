#include "encode/EncoderError.h"

#include "common/RaisedError.h"

namespace korvalin {

std::string EncoderErrorText(int32_t code) {
  switch (code) {
    case 0: return "No Error";
    case 1: return "Invalid format";
    case 2: return "Invalid format parameters";
    case 3: return "No more handles";
    case 4: return "Invalid handle";
    case 5: return "Buffer too small";
    default: return {};
  }
}

void RaiseIfEncoderFailed(int32_t code) {
  if (code != 0) throw RaisedError(code, EncoderErrorText(code), "Lame");
}

}  // namespace korvalin
