#include <gtest/gtest.h>

#include "text/primitives.h"

namespace morvane {
namespace {

TEST(Cutting, LeftRightMid) {
  struct Case {
    const char* what;
    Text got;
    Text want;
  };
  const Case cases[] = {
      {"left 0", TextLeft("abc", 0), ""},
      {"left negative", TextLeft("abc", -3), ""},
      {"left past end", TextLeft("abc", 5), "abc"},
      {"left 2", TextLeft("abc", 2), "ab"},
      {"right 2", TextRight("abc", 2), "bc"},
      {"right of empty", TextRight("", 4), ""},
      {"right negative", TextRight("abc", -1), ""},
      {"mid inside", TextMid("abcdef", 3, 2), "cd"},
      {"mid runs past end", TextMid("abcdef", 5, 10), "ef"},
      {"mid start 0 is not moved to 1", TextMid("abcdef", 0, 2), ""},
      {"mid start past end", TextMid("abcdef", 7, 1), ""},
      {"mid zero count", TextMid("abcdef", 2, 0), ""},
      {"mid negative start", TextMid("abcdef", -1, 5), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got.str(), c.want.str());
  }
}

TEST(Cutting, CountsBytesAndMayHalveACharacter) {
  const Text twoChars("\xc3\xfb\xd7\xd6");  // 名字
  EXPECT_EQ(TextLength(twoChars), 4);
  EXPECT_EQ(TextLeft(twoChars, 3).str(), "\xc3\xfb\xd7");
}

TEST(Cutting, TextNeverHoldsAZeroByte) {
  using namespace std::string_view_literals;
  EXPECT_EQ(Text("ab\0cd"sv).str(), "ab");
  EXPECT_EQ(ConcatText(Text("x"), Text("y"), "z").str(), "xyz");
  EXPECT_EQ(BlankText(3).str(), "   ");
  EXPECT_TRUE(BlankText(0).empty());
  EXPECT_TRUE(CharFromCode(0).empty());
  EXPECT_EQ(CharFromCode('A').str(), "A");
  EXPECT_TRUE(TextEquals(Text(), Text("")));
}

}  // namespace
}  // namespace morvane
