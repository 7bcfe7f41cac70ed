#pragma once
// The operations on the collection's backing lists: finding an entry by its text, taking it out,
// and putting it in front. Entries are compared exactly, never as patterns.

#include <cstdint>
#include <functional>
#include <string>

#include "controls/ListBox.h"

namespace korvalin {

// The index of the first entry equal to `entry`, or -1.
int32_t IndexOf(const controls::ListBox& list, const std::string& entry);
inline bool Holds(const controls::ListBox& list, const std::string& entry) { return IndexOf(list, entry) >= 0; }

// Removes the first entry equal to `entry`, if any.
void RemoveFirst(controls::ListBox& list, const std::string& entry);

// Removes every entry equal to `entry`. `afterEachStep` (when given) runs after each entry looked
// at, so a long list keeps the window live.
void RemoveEvery(controls::ListBox& list, const std::string& entry, const std::function<void()>& afterEachStep = {});

// Puts `entry` in front of the list's entries, building the new order in `scratch` first.
void PutInFront(controls::ListBox& list, const std::string& entry, controls::ListBox& scratch);

}  // namespace korvalin
