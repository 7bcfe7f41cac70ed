#include "platform/qt/FormViews.h"

#include <unordered_map>

namespace korvalin {
namespace {

// Filled while static objects are made, so it is made on first use.
std::unordered_map<std::type_index, ViewMaker>& Makers() {
  static std::unordered_map<std::type_index, ViewMaker> makers;
  return makers;
}

}  // namespace

void RegisterView(std::type_index form, ViewMaker make) { Makers()[form] = std::move(make); }

std::unique_ptr<QWidget> MakeView(const OwnedForms::Entry& form, const std::string& pictureFolder) {
  const auto found = Makers().find(form.type);
  if (found == Makers().end()) return nullptr;
  return found->second(form.form, pictureFolder);
}

}  // namespace korvalin
