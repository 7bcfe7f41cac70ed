#pragma once
// A job's selection read from the collection as Start is pressed: the selected node, the tracks
// it shows, the selected track list and the files the node stands for.

#include "collection/CollectionTree.h"
#include "window/JobOptions.h"

namespace korvalin {

JobSelection SelectionOf(const CollectionTree& collection);

}  // namespace korvalin
