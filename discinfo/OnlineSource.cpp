#include "discinfo/OnlineSource.h"

namespace korvalin {

std::string WithoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

}  // namespace korvalin
