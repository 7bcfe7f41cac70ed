// Linked into the libFuzzer programs only. The CUE parser library drops the disc it was building
// when it gives up on a sheet. libFuzzer takes any input that leaves more blocks allocated than
// it freed for a possible leak, runs it again and scans the whole heap; on the disc image target
// that took nine tenths of the time. This definition stands in front of the library's parser: it
// notes the blocks allocated while the parser runs, and when the parser gives up it hands the
// disc among them that the library itself allocated back to the library's own cd_delete. Any
// other block left behind, by the library or by the program, still stops the run at the input
// that left it.

#include <dlfcn.h>
#include <sanitizer/allocator_interface.h>
#include <sanitizer/asan_interface.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

extern "C" {
#if __has_include(<libcue.h>)
#include <libcue.h>
#else
#include <libcue/libcue.h>
#endif
}

namespace {

// The blocks allocated during one parse and not yet freed: an open-addressing set that is
// emptied by moving to the next round. The hooks run inside the allocator, so nothing here may
// allocate.
constexpr int kSlotBits = 14;
constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
const void* const kRemoved = reinterpret_cast<const void*>(1);
struct Slot {
  const void* block = nullptr;
  uint32_t round = 0;
};
Slot slots[kSlots];
uint32_t round = 0;
std::size_t filled[kSlots / 2];  // the slots of this round, removed ones included
std::size_t used = 0;
bool overflowed = false;
thread_local bool parsing = false;

std::size_t Home(const void* block) {
  return (reinterpret_cast<uintptr_t>(block) >> 4) * 0x9E3779B97F4A7C15u >> (64 - kSlotBits);
}

void Allocated(const volatile void* p, std::size_t) {
  if (!parsing || !p) return;
  if (2 * (used + 1) > kSlots) {
    overflowed = true;  // too many to follow: nothing is freed for this sheet
    return;
  }
  std::size_t i = Home(const_cast<const void*>(p));
  while (slots[i].round == round) i = (i + 1) % kSlots;
  slots[i] = {const_cast<const void*>(p), round};
  filled[used++] = i;
}

void Freed(const volatile void* p) {
  if (!parsing || !p) return;
  for (std::size_t i = Home(const_cast<const void*>(p)); slots[i].round == round; i = (i + 1) % kSlots) {
    if (slots[i].block == p) {
      slots[i].block = kRemoved;
      return;
    }
  }
}

// Whether the block was allocated by the parser library's code itself (not, say, by the C library
// for a stream's buffer).
bool AllocatedByLibrary(const void* block, const void* libraryBase) {
  void* frames[2] = {};
  int thread = 0;
  if (__asan_get_alloc_stack(const_cast<void*>(block), frames, 2, &thread) < 2) return false;
  Dl_info caller{};
  return ::dladdr(frames[1], &caller) != 0 && caller.dli_fbase == libraryBase;
}

// What the first parse teaches: where the library lies and the size of its disc record.
struct Library {
  Cd* (*parse)(FILE*) = nullptr;
  const void* base = nullptr;
  std::size_t discBytes = 0;  // 0: a disc cannot be told from the other blocks, none is freed
};

Library FindLibrary() {
  Library library;
  library.parse = reinterpret_cast<Cd* (*)(FILE*)>(::dlsym(RTLD_NEXT, "cue_parse_file"));
  Dl_info where{};
  if (!library.parse || ::dladdr(reinterpret_cast<void*>(library.parse), &where) == 0) {
    std::fprintf(stderr, "cue_parse_file of the library not found\n");
    std::abort();
  }
  library.base = where.dli_fbase;
  // A sheet of one track shows the sizes of a disc and a track; also, the parser makes the
  // buffers it keeps for good at its first use, here.
  char sheet[] = "FILE \"a.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
  if (FILE* in = ::fmemopen(sheet, std::strlen(sheet), "r")) {
    if (Cd* cd = library.parse(in)) {
      const std::size_t disc = __sanitizer_get_allocated_size(cd);
      const Track* track = cd_get_track(cd, 1);
      if (track && __sanitizer_get_allocated_size(track) != disc) library.discBytes = disc;
      cd_delete(cd);
    }
    std::fclose(in);
  }
  return library;
}

}  // namespace

extern "C" Cd* cue_parse_file(FILE* in) {
  static const Library library = FindLibrary();
  static const bool hooked =
      library.discBytes > 0 && __sanitizer_install_malloc_and_free_hooks(Allocated, Freed) != 0;

  if (++round == 0) {  // once in four billion sheets: the slots' marks would be taken for this round's
    for (Slot& slot : slots) slot = {};
    round = 1;
  }
  used = 0;
  overflowed = false;
  parsing = hooked;
  Cd* cd = library.parse(in);
  parsing = false;
  if (cd || overflowed || !hooked) return cd;
  // The discs first: deleting one frees other blocks of the table.
  Cd* dropped[4] = {};
  std::size_t count = 0;
  for (std::size_t i = 0; i < used; ++i) {
    const Slot& slot = slots[filled[i]];
    if (slot.block == kRemoved) continue;
    auto* block = const_cast<void*>(slot.block);
    if (count < std::size(dropped) && __sanitizer_get_allocated_size(block) == library.discBytes &&
        AllocatedByLibrary(block, library.base)) {
      dropped[count++] = static_cast<Cd*>(block);
    }
  }
  for (std::size_t i = 0; i < count; ++i) cd_delete(dropped[i]);
  return cd;
}
