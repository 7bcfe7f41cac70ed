#pragma once
// An embedded web browser that the program points at a page and otherwise leaves alone.

#include <string>

namespace korvalin {

class WebBrowser {
 public:
  virtual ~WebBrowser() = default;
  // Starts loading a URL, or a local file given by its absolute path, and returns at once. A
  // page that cannot be loaded is the browser's own business: it shows its error page.
  virtual void Navigate(const std::string& url) = 0;
};

}  // namespace korvalin
