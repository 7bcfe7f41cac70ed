#pragma once
// Which view shows which form. A window's view registers itself for its form's type in its own
// source file (one ViewOf line); an owner's view then makes the view of each form it owns.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>

#include "controls/OwnedForms.h"

namespace korvalin {

// Makes a view for a form; `pictureFolder` is where button pictures are found.
using ViewMaker = std::function<std::unique_ptr<QWidget>(void* form, const std::string& pictureFolder)>;

void RegisterView(std::type_index form, ViewMaker make);
// The view of an owned form; null for a form that has none (a host that is never shown).
std::unique_ptr<QWidget> MakeView(const OwnedForms::Entry& form, const std::string& pictureFolder);

// Registers View as the view of Form when the program starts:
//   const ViewOf<frmsearch, frmsearchView> registered;
// View is made from (Form&) or, when it shows pictures, from (Form&, picture folder).
template <typename Form, typename View>
struct ViewOf {
  ViewOf() {
    RegisterView(typeid(Form), [](void* form, const std::string& pictureFolder) {
      Form& f = *static_cast<Form*>(form);
      if constexpr (std::is_constructible_v<View, Form&, const std::string&>) {
        return std::make_unique<View>(f, pictureFolder);
      } else {
        return std::make_unique<View>(f);
      }
    });
  }
};

}  // namespace korvalin
