// Text, number, byte and list primitives over GBK texts with 1-based byte
// positions. The conventions are stated once in types.h.
//
// Every routine except ListAppend is pure: it reads its arguments and
// returns a new value. Optional arguments are std::optional because an
// absent start position and a start of 0 differ for FindTextReverse.
#pragma once

#include <cstdint>
#include <optional>

#include "text/types.h"

namespace morvane {

// --- Texts -----------------------------------------------------------------

[[nodiscard]] int TextLength(const Text& text);
[[nodiscard]] bool TextEquals(const Text& a, const Text& b);

// The arguments joined in order. Pass the growing text by std::move to
// append in place: `body = ConcatText(std::move(body), piece);`.
namespace detail {
inline std::string_view ViewOf(const Text& t) { return t.view(); }
inline std::string_view ViewOf(const char* s) {
  return s ? std::string_view(s) : std::string_view();
}
}  // namespace detail

template <typename... Rest>
[[nodiscard]] Text ConcatText(Text first, const Rest&... rest) {
  (first.Append(detail::ViewOf(rest)), ...);
  return first;
}

// TextLeft("abc", 5) == "abc"; TextLeft("abc", -3) == "".
[[nodiscard]] Text TextLeft(const Text& text, int n);
// TextRight("abc", 2) == "bc".
[[nodiscard]] Text TextRight(const Text& text, int n);
// n bytes from position start; empty when start < 1 or start > length.
// TextMid("abcdef", 5, 10) == "ef"; TextMid("abcdef", 0, 2) == "".
[[nodiscard]] Text TextMid(const Text& text, int start, int n);

// The position of the first occurrence of search at or after start, trying
// only character boundaries counted from start. A start of 0 or below is
// the first position. FindText("abcabc", "bc", 3) == 5.
[[nodiscard]] int FindText(const Text& text, const Text& search, std::optional<int> start = {},
                           std::optional<bool> ignoreCase = {});
// The last occurrence on a true character boundary; with a start, only
// occurrences lying wholly before position start count.
// FindTextReverse("a.b.c", ".") == 4; with start 4 it is 2.
[[nodiscard]] int FindTextReverse(const Text& text, const Text& search,
                                  std::optional<int> start = {},
                                  std::optional<bool> ignoreCase = {});

// Every occurrence replaced left to right, never rescanning what was put in.
// An absent replacement removes the occurrences.
// ReplaceText("aaa", "aa", "b", true) == "ba".
[[nodiscard]] Text ReplaceText(const Text& text, const Text& search,
                               const std::optional<Text>& replacement, bool caseSensitive);
// The pieces between separators: "a;;b" gives "a", "", "b"; "a;" gives "a".
[[nodiscard]] TextList SplitText(const Text& text, const Text& separator);

// Space characters are 0x20 and the full-width space 0xA1 0xA1, and only
// where that pair is one character.
[[nodiscard]] Text TrimBoth(const Text& text);
[[nodiscard]] Text RemoveSpaces(const Text& text);
// A to Z made small in one-byte characters only; the length never changes.
[[nodiscard]] Text ToLower(const Text& text);
// Full-width digits, letters, signs and spaces replaced by their ASCII byte.
[[nodiscard]] Text FoldFullWidth(const Text& text);
// The one-byte text of code; code 0 gives the empty text.
[[nodiscard]] Text CharFromCode(std::uint8_t code);
// n bytes 0x20; empty for n <= 0.
[[nodiscard]] Text BlankText(int n);

// --- Numbers ---------------------------------------------------------------

// The decimal number at the start of the text (after full-width folding and
// leading white space); 0 when there is none. "2d3" == 2000, "1e" == 1.
[[nodiscard]] double ToNumber(const Text& text);
// The decimal integer at the start of the text, wrapping in 32 bits;
// "4294967297" == 1, "12.9" == 12.
[[nodiscard]] std::int32_t ToInteger(const Text& text);
// At most 13 significant digits; exponents outside -4..12 are written as
// "1e+014". Independent of the C locale and of the platform's printf.
[[nodiscard]] Text NumberToText(double x);
[[nodiscard]] std::int32_t BitOr(std::int32_t a, std::int32_t b);

// --- Bytes -----------------------------------------------------------------

[[nodiscard]] int BytesLength(const Bytes& b);
[[nodiscard]] bool BytesEqual(const Bytes& a, const Bytes& b);
// Pass the growing value by std::move to append in place.
template <typename... Rest>
[[nodiscard]] Bytes ConcatBytes(Bytes first, const Rest&... rest) {
  (first.Append(rest.view()), ...);
  return first;
}
[[nodiscard]] Bytes BytesLeft(const Bytes& b, int n);
// n zero bytes; empty for n <= 0.
[[nodiscard]] Bytes BlankBytes(int n);
[[nodiscard]] Bytes TextToBytes(const Text& text);
// The bytes before the first zero byte.
[[nodiscard]] Text BytesToText(const Bytes& b);

// --- Lists -----------------------------------------------------------------

[[nodiscard]] int ListCount(const TextList& list);
// The item at 1-based index i. An index outside 1..count is a program
// fault: it is reported on stderr and the program aborts.
[[nodiscard]] const Text& ListItem(const TextList& list, int i);
// Adds a copy of text after the last item.
void ListAppend(TextList& list, const Text& text);

}  // namespace morvane
