#pragma once
// The other windows a window owns. Each is made here, in one line of its owner, and kept with its
// type, so that the owner's view can make the view of every one without naming them; a form with
// no view (a host that is never shown) is owned the same way and simply gets none. Forms are
// destroyed in the reverse order of their making.

#include <memory>
#include <typeindex>
#include <utility>
#include <vector>

namespace korvalin {

class OwnedForms {
 public:
  struct Entry {
    std::type_index type;
    void* form;
  };

  OwnedForms() = default;
  OwnedForms(const OwnedForms&) = delete;
  OwnedForms& operator=(const OwnedForms&) = delete;
  ~OwnedForms() {
    while (!owned_.empty()) owned_.pop_back();
  }

  // Makes a form from its constructor's arguments and keeps it for the owner's lifetime.
  template <typename Form, typename... Args>
  Form& Make(Args&&... args) {
    auto form = std::make_unique<Form>(std::forward<Args>(args)...);
    Form& made = *form;
    owned_.push_back(std::unique_ptr<void, void (*)(void*)>(form.release(), [](void* f) { delete static_cast<Form*>(f); }));
    entries_.push_back({typeid(Form), &made});
    return made;
  }

  const std::vector<Entry>& All() const { return entries_; }

 private:
  std::vector<std::unique_ptr<void, void (*)(void*)>> owned_;
  std::vector<Entry> entries_;
};

// Shows a form, or brings it to the front when it is open already.
template <typename Form>
void ShowInFront(Form& form) {
  form.Show();
  form.window.RequestActivate();
}

}  // namespace korvalin
