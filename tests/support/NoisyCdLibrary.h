#pragma once
// A CD library that passes every call on to another one and spoils some of what it reads, the
// way a scratched disc or a jittery drive does: a random bit of a random frame flipped in one
// read of `noisyEvery` (at random, from a fixed seed), and frames that come back different on
// every read. It counts the reads it was asked for.

#include <cstdint>
#include <map>
#include <random>
#include <set>

#include "platform/CdExtractionLibrary.h"

namespace korvalin::test {

class NoisyCdLibrary : public CdExtractionLibrary {
 public:
  explicit NoisyCdLibrary(CdExtractionLibrary& inner, uint32_t seed = 25) : inner_(inner), random_(seed) {}

  int noisyEvery = 3;               // 0: no random flips
  std::set<int32_t> unstableFrames;  // every read of these gives a bit flipped nowhere else
  int firstReadExtraFlips = 0;       // further bits the first read of an unstable frame loses
  int32_t readCalls = 0;             // read calls that reached this library
  int32_t spoiledReads = 0;          // reads it changed

  int32_t GetNumAdapters() override { return inner_.GetNumAdapters(); }
  int32_t GetCDList(uint8_t* list) override { return inner_.GetCDList(list); }
  int32_t GetCDHandle(const uint8_t* request) override { return inner_.GetCDHandle(request); }
  int32_t ModifyCDParms(int32_t h, int32_t p, int32_t v) override { return inner_.ModifyCDParms(h, p, v); }
  int32_t ReadTOC(int32_t handle, uint8_t* toc) override { return inner_.ReadTOC(handle, toc); }
  int32_t ReadCDAudioLBA(int32_t handle, uint8_t* trackBuffer) override;
  void ReadsEnded(int32_t handle) override { inner_.ReadsEnded(handle); }
  int32_t CloseCDHandle(int32_t handle) override { return inner_.CloseCDHandle(handle); }
  int32_t GetAspiLibError() override { return inner_.GetAspiLibError(); }
  std::string ExplainError(const std::string& codeText) const override { return inner_.ExplainError(codeText); }
  std::vector<std::string> SourceFiles(int32_t handle) const override { return inner_.SourceFiles(handle); }

 private:
  CdExtractionLibrary& inner_;
  std::mt19937 random_;
  std::map<int32_t, uint32_t> unstableReads_;  // reads of each unstable frame so far
};

}  // namespace korvalin::test
