#include "desktop/CrashReporter.h"

#include <unistd.h>

#include <cstring>

namespace korvalin {
namespace {

struct Name {
  uint32_t code;
  const char* text;
};

constexpr Name kNames[] = {
    {0x80000001, "Guard Page Violation"},    {0x80000002, "Data Type Misalignment"},
    {0x80000003, "Breakpoint"},              {0x80000004, "Single Step"},
    {0xC0000005, "Access Violation"},        {0xC0000006, "In Page Error"},
    {0xC0000008, "Invalid Handle"},          {0xC000001D, "Illegal Instruction"},
    {0xC0000025, "Non Continuable Exception"}, {0xC0000026, "Invalid Disposition"},
    {0xC000008C, "Array Bounds Exceeded"},   {0xC000008D, "Float Denormal Operand"},
    {0xC000008E, "Divide By Zero"},          {0xC000008F, "Floating Point Inexact Result"},
    {0xC0000090, "Invalid Operation"},       {0xC0000091, "Float Overflow"},
    {0xC0000092, "Float Stack Check"},       {0xC0000093, "Float Underflow"},
    {0xC0000094, "Integer Divide By Zero"},  {0xC0000095, "Integer Overflow"},
    {0xC0000096, "Privileged Instruction"},  {0xC00000FD, "Stack Overflow"},
    {0xC000013A, "Control-C Exit"},
};

void WriteAll(const char* text) {
  std::size_t left = std::strlen(text);
  while (left > 0) {
    const ssize_t n = ::write(STDERR_FILENO, text, left);
    if (n <= 0) return;
    text += n;
    left -= static_cast<std::size_t>(n);
  }
}

}  // namespace

const char* ExceptionText(uint32_t code, char (&unknown)[32]) {
  for (const Name& n : kNames) {
    if (n.code == code) return n.text;
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::memcpy(unknown, "Unknown (&H", 11);
  for (int i = 0; i < 8; ++i) unknown[11 + i] = kHex[(code >> (28 - 4 * i)) & 0xF];
  unknown[19] = ')';
  unknown[20] = '\0';
  return unknown;
}

const ExceptionRecord& InnermostRecord(const ExceptionRecord& record) {
  const ExceptionRecord* r = &record;
  while (r->NestedRecord != nullptr) r = r->NestedRecord;
  return *r;
}

int32_t CrashReporterFilter(const ExceptionRecord& record) {
  char unknown[32];
  const char* name = ExceptionText(InnermostRecord(record).ExceptionCode, unknown);
  WriteAll("Korvalin: unhandled exception: ");
  WriteAll(name);
  WriteAll("\n");
  return kContinueSearch;
}

}  // namespace korvalin
