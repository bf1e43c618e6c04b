// Stepping through GBK characters; private to text/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace morvane::detail {

// Bytes taken by the character starting at offset i: a byte of 0x80 or
// above starts a two-byte character. A lead byte at the very end (an
// incomplete character) counts as the one byte that is left.
inline std::size_t CharWidth(std::string_view s, std::size_t i) {
  if (static_cast<std::uint8_t>(s[i]) < 0x80) return 1;
  return i + 1 < s.size() ? 2 : 1;
}

inline char FoldAsciiCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Compares search with the bytes of s at offset i, which must hold at least
// search.size() bytes. Ignoring case folds A-Z in every byte, second bytes of
// two-byte characters included.
inline bool BytesMatchAt(std::string_view s, std::size_t i, std::string_view search,
                         bool ignoreCase) {
  if (!ignoreCase) return s.compare(i, search.size(), search) == 0;
  for (std::size_t k = 0; k < search.size(); ++k) {
    if (FoldAsciiCase(s[i + k]) != FoldAsciiCase(search[k])) return false;
  }
  return true;
}

// The 0-based offset of 1-based position p, for p >= 1.
inline std::size_t Offset(int p) { return static_cast<std::size_t>(p - 1); }

}  // namespace morvane::detail
