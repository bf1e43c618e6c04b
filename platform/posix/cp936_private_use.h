// The code page 936 characters that glibc's CP936 table lacks and Windows'
// has: the private-use characters U+E000..U+E864, which Windows puts on
// GBK's user-defined codes and on the codes GB2312 left empty, and U+F8F5
// on the single byte 0xFF. Taken from Windows' own conversion, code point
// by code point; every other character of the code page iconv converts to
// the same bytes.
#pragma once

#include <cstdint>

namespace morvane::cp936 {

// `count` consecutive characters from `first` on consecutive two-byte
// codes from `code` (lead byte high, trail byte low), within one row half.
struct Run {
  char16_t first;
  std::uint16_t code;
  std::uint8_t count;
};

inline constexpr Run kPrivateUseRuns[] = {
    {0xE000, 0xAAA1, 94}, {0xE05E, 0xABA1, 94}, {0xE0BC, 0xACA1, 94}, {0xE11A, 0xADA1, 94},
    {0xE178, 0xAEA1, 94}, {0xE1D6, 0xAFA1, 94}, {0xE234, 0xF8A1, 94}, {0xE292, 0xF9A1, 94},
    {0xE2F0, 0xFAA1, 94}, {0xE34E, 0xFBA1, 94}, {0xE3AC, 0xFCA1, 94}, {0xE40A, 0xFDA1, 94},
    {0xE468, 0xFEA1, 94}, {0xE4C6, 0xA140, 63}, {0xE505, 0xA180, 33}, {0xE526, 0xA240, 63},
    {0xE565, 0xA280, 33}, {0xE586, 0xA340, 63}, {0xE5C5, 0xA380, 33}, {0xE5E6, 0xA440, 63},
    {0xE625, 0xA480, 33}, {0xE646, 0xA540, 63}, {0xE685, 0xA580, 33}, {0xE6A6, 0xA640, 63},
    {0xE6E5, 0xA680, 33}, {0xE706, 0xA740, 63}, {0xE745, 0xA780, 33}, {0xE766, 0xA2AB, 6},
    {0xE76C, 0xA2E3, 2},  {0xE76E, 0xA2EF, 2},  {0xE770, 0xA2FD, 2},  {0xE772, 0xA4F4, 11},
    {0xE77D, 0xA5F7, 8},  {0xE785, 0xA6B9, 8},  {0xE78D, 0xA6D9, 7},  {0xE794, 0xA6EC, 2},
    {0xE796, 0xA6F3, 1},  {0xE797, 0xA6F6, 9},  {0xE7A0, 0xA7C2, 15}, {0xE7AF, 0xA7F2, 13},
    {0xE7BC, 0xA896, 11}, {0xE7C7, 0xA8BC, 1},  {0xE7C8, 0xA8BF, 1},  {0xE7C9, 0xA8C1, 4},
    {0xE7CD, 0xA8EA, 21}, {0xE7E2, 0xA958, 1},  {0xE7E3, 0xA95B, 1},  {0xE7E4, 0xA95D, 3},
    {0xE7E7, 0xA989, 13}, {0xE7F4, 0xA997, 13}, {0xE801, 0xA9F0, 15}, {0xE810, 0xD7FA, 5},
    {0xE815, 0xFE50, 47}, {0xE844, 0xFE80, 33},
};

inline constexpr char16_t kSingleByteFF = 0xF8F5;

// The two-byte code of a private-use character; 0 when it has none.
constexpr std::uint16_t CodeOf(char16_t unit) {
  for (const Run& run : kPrivateUseRuns) {
    if (unit >= run.first && unit < run.first + run.count) {
      return static_cast<std::uint16_t>(run.code + (unit - run.first));
    }
  }
  return 0;
}

// The private-use character of a two-byte code; 0 when it has none.
constexpr char16_t CharacterOf(std::uint16_t code) {
  for (const Run& run : kPrivateUseRuns) {
    if (code >= run.code && code < run.code + run.count) {
      return static_cast<char16_t>(run.first + (code - run.code));
    }
  }
  return 0;
}

}  // namespace morvane::cp936
