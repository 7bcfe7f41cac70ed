#pragma once
// Which view shows which form. A window's view registers itself for its form's type in its own
// source file (one ViewOf line); an owner's view then makes the view of each form it owns.

#include <QWidget>
#include <functional>
#include <memory>
#include <typeindex>

#include "window/OwnedForms.h"

namespace korvalin {

using ViewMaker = std::function<std::unique_ptr<QWidget>(void* form)>;

void RegisterView(std::type_index form, ViewMaker make);
// The view of an owned form; null for a form that has none (a host that is never shown).
std::unique_ptr<QWidget> MakeView(const OwnedForms::Entry& form);

// Registers View (constructed from Form&) as the view of Form when the program starts:
//   const ViewOf<frmsearch, frmsearchView> registered;
template <typename Form, typename View>
struct ViewOf {
  ViewOf() {
    RegisterView(typeid(Form), [](void* form) { return std::make_unique<View>(*static_cast<Form*>(form)); });
  }
};

}  // namespace korvalin
