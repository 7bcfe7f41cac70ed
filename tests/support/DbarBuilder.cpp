#include "tests/support/DbarBuilder.h"

namespace korvalin::test {
namespace {

void PutLe32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace

std::string DbarResponseBytes(const AccurateRipDiscId& disc, const std::vector<DbarTrack>& tracks) {
  std::string out;
  out.push_back(static_cast<char>(tracks.size()));
  PutLe32(out, disc.id1);
  PutLe32(out, disc.id2);
  PutLe32(out, disc.cddb);
  for (const DbarTrack& t : tracks) {
    out.push_back(static_cast<char>(t.confidence));
    PutLe32(out, t.crc);
    PutLe32(out, t.frame450Crc);
  }
  return out;
}

std::string DbarFileBytes(const AccurateRipDiscId& disc, const std::vector<std::vector<DbarTrack>>& responses) {
  std::string out;
  for (const auto& r : responses) out += DbarResponseBytes(disc, r);
  return out;
}

}  // namespace korvalin::test
