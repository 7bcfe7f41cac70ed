// The library of adapters that need Qt Core but no widgets: the settings store lives here.
// This file keeps the library non-empty while it has no other member.
namespace korvalin::qtcore {
int LinkAnchor = 0;
}
