#pragma once
// The collection's private lists, for tests that set up or inspect a state no operation makes
// (a session's leftovers, an entry without an item, a list order). Code under test uses the
// collection's operations.

#include "collection/CollectionTree.h"

namespace korvalin {

struct CollectionInsideForTests {
  struct Lists {
    controls::TreeView& TreeView1;
    controls::ListBox& lstTracks;
    controls::ListBox& lstRecord;
    controls::ListBox& List1;
    controls::ListBox& List5;
    controls::ListBox& List2;
    controls::ListBox& List4;
  };
  static Lists Of(CollectionTree& c) {
    return {c.TreeView1, c.lstTracks, c.lstRecord, c.List1, c.List5, c.List2, c.List4};
  }
  static Lists Of(const CollectionTree& c) { return Of(const_cast<CollectionTree&>(c)); }
};

namespace test {
inline CollectionInsideForTests::Lists Inside(CollectionTree& c) { return CollectionInsideForTests::Of(c); }
inline CollectionInsideForTests::Lists Inside(const CollectionTree& c) { return CollectionInsideForTests::Of(c); }
}  // namespace test

}  // namespace korvalin
