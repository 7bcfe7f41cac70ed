#pragma once
// What every fuzz target shares: a scratch folder of the process's own for the files a target
// writes its input into, a check that stops the run loudly when a property breaks, and a way to
// cut an input into lines.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvalin::fuzz {

// A folder that lives as long as the process and is removed at its exit.
const std::string& ScratchFolder();
// ScratchFolder() + "/" + name.
std::string ScratchPath(std::string_view name);
// Writes `bytes` to the file at `path`, replacing it; aborts when the system refuses (the fuzzer
// could not test anything then).
void WriteWholeFile(const std::string& path, std::string_view bytes);
std::string ReadWholeFile(const std::string& path);

// Says that the file at `path` holds `bytes` (which must outlive the reading), so that a reader
// able to take its input from memory may do so instead of from the file; the file must hold the
// same bytes, for readers that cannot. An empty path withdraws the offer.
void OfferInMemory(std::string path, std::string_view bytes);
// The bytes offered for `path`, or nothing.
const std::string_view* InMemory(const char* path);
// True; defined beside the MP3 decoder's in-memory reader, so that a program calling it has that
// reader in front of the library's (a static library's member is linked only when called).
bool Mp3DecoderReadsFromMemory();

// Aborts with the text when a property of the program under test does not hold, so that the
// fuzzer keeps the input as a crash.
void Check(bool holds, const char* what);

// The input cut at every '\n' (the newline dropped); the last line may be empty.
std::vector<std::string_view> Lines(std::string_view input);

inline std::string_view AsText(const uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace korvalin::fuzz
