#pragma once
// A list of folders to choose one from, shown as a tree of the file system: the chosen folder's
// path, and a change handler that runs whenever the user or the program chooses another.

#include <string>

#include "controls/Control.h"

namespace korvalin::controls {

class FolderList : public Control {
 public:
  explicit FolderList(std::string name, std::string path = "/") : Control(std::move(name)), path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  void SetPath(std::string path) {
    if (Set(path_, std::move(path), Property::Text)) Fire(OnChange);
  }

  Event OnChange;

 private:
  std::string path_;
};

}  // namespace korvalin::controls
