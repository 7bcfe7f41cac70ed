#include "window/CollectionSelection.h"

namespace korvalin {

JobSelection SelectionOf(const CollectionTree& collection) {
  const CollectionSelection selected = collection.Selected();
  JobSelection s;
  s.node = selected.node;
  s.tracks = collection.ChosenTracks();
  s.trackIndex = collection.CurrentChosenTrack();
  if (selected.kind != EntryKind::Track) {
    s.files = selected.entries;
  } else if (selected.scope == CollectionSelection::Scope::Available) {
    s.nodeTracks = selected.entries;
  }
  return s;
}

}  // namespace korvalin
