#pragma once
// HTTP GET over libcurl. Each call runs on a worker thread of its own with libcurl's easy
// interface; the program's thread only asks whether it has finished. A call that is dropped
// before it finished is cancelled and its thread joined, so nothing outlives its owner.

#include <memory>
#include <string>

#include "platform/HttpClient.h"

namespace korvalin {

class CurlHttpClient : public HttpClient {
 public:
  CurlHttpClient();
  std::unique_ptr<HttpCall> Get(const HttpRequest& request) override;

  // "libcurl 7.88.1", for the About box's list.
  static std::string Version();
};

}  // namespace korvalin
