#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "text/primitives.h"

namespace morvane {
namespace {

struct SearchCase {
  const char* text;
  const char* search;
  std::optional<int> start;
  std::optional<bool> ignoreCase;
  int want;
};

TEST(Search, Forward) {
  const SearchCase cases[] = {
      {"abcabc", "bc", {}, {}, 2},
      {"abcabc", "bc", 3, {}, 5},
      {"abcabc", "bc", 0, {}, 2},
      {"abcabc", "bc", 1, {}, 2},
      {"abcabc", "bc", -5, {}, 2},
      {"abcabc", "bc", 6, {}, -1},  // one byte remains
      {"abcabc", "bc", 7, {}, -1},
      {"abcabc", "bc", INT32_MIN, {}, 2},
      {"abcabc", "bc", INT32_MAX, {}, -1},
      {"abc", "", {}, {}, 1},
      {"abc", "", 3, {}, 1},
      {"abc", "", 4, {}, -1},
      {"", "", {}, {}, -1},
      {"User-agent: x", "User-Agent:", {}, {}, -1},
      {"User-agent: x", "User-Agent:", {}, true, 1},
      {"User-agent: x", "User-Agent:", {}, false, -1},
      // 0xB0 0xA1 | 0xA1 0xB0 hides 0xA1 0xA1 across a character boundary.
      {"\xb0\xa1\xa1\xb0", "\xa1\xa1", {}, {}, -1},
      // Second bytes that look like ASCII are not matched.
      {"\x81\x5c", "\\", {}, {}, -1},
      {"\x81\x7c|", "|", {}, {}, 3},
      {"\x81\x40@", "@", {}, {}, 3},
      // Candidates count from the start: from position 2 the trail byte
      // 0x40 is taken as a character of its own.
      {"\x81\x40@", "@", 2, {}, 2},
      // Case folding reaches second bytes too.
      {"\x81\x41", "\x81\x61", {}, true, 1},
      // A match may end in the first byte of a character.
      {"a\xb0\xa1", "a\xb0", {}, {}, 1},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.text << " / " << c.search << " start " << c.start.value_or(-99));
    EXPECT_EQ(FindText(c.text, c.search, c.start, c.ignoreCase), c.want);
  }
}

TEST(Search, Backward) {
  const SearchCase cases[] = {
      {"a.b.c", ".", {}, {}, 4},
      {"a.b.c", ".", 5, {}, 4},
      {"a.b.c", ".", 99, {}, 4},
      {"a.b.c", ".", 4, {}, 2},
      {"a.b.c", ".", 2, {}, -1},
      {"a.b.c", ".", 0, {}, -1},
      {"a.b.c", ".", -3, {}, -1},
      {"a.b.c", ".", INT32_MIN, {}, -1},
      {"a.b.c", ".", INT32_MAX, {}, 4},
      {"abc=", "=", {}, {}, 4},
      {"abc=", "=", 4, {}, -1},  // start = length excludes an end match
      {"abc", "", {}, {}, 1},
      {"", "", {}, {}, -1},
      {"a===b", "==", {}, {}, 3},  // overlapping occurrences count
      {"\xb0\xa1\xa1\xb0", "\xa1\xa1", {}, {}, -1},
      {"1AB2ab3", "AB", {}, true, 5},
      {"1AB2ab3", "AB", {}, {}, 2},
      {"\x81\x5c", "\\", {}, {}, -1},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.text << " / " << c.search << " start " << c.start.value_or(-99));
    EXPECT_EQ(FindTextReverse(c.text, c.search, c.start, c.ignoreCase), c.want);
  }
}

}  // namespace
}  // namespace morvane
