#include <gtest/gtest.h>

#include "text/primitives.h"

namespace morvane {
namespace {

TEST(Spaces, TrimAndRemove) {
  struct Case {
    const char* what;
    Text got;
    const char* want;
  };
  const Case cases[] = {
      {"plain", TrimBoth("  a b  "), "a b"},
      {"full-width ends", TrimBoth("\xa1\xa1x\xa1\xa1 "), "x"},
      {"tab stops the run", TrimBoth(" \tx \r\n"), "\tx \r\n"},
      {"all spaces", TrimBoth("  \xa1\xa1 "), ""},
      {"empty", TrimBoth(""), ""},
      {"hidden pair is no space", TrimBoth("\xb0\xa1\xa1\xb0"), "\xb0\xa1\xa1\xb0"},
      {"trail 0x20 is no space", TrimBoth("x\x81\x20"), "x\x81\x20"},
      {"remove", RemoveSpaces("a = 1; b"), "a=1;b"},
      {"remove full-width", RemoveSpaces("a\xa1\xa1z"), "az"},
      {"remove keeps hidden pair", RemoveSpaces("\xb0\xa1\xa1\xb0"), "\xb0\xa1\xa1\xb0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got.str(), c.want);
  }
}

TEST(Case, LowerOnlyTouchesOneByteLetters) {
  EXPECT_EQ(ToLower("Set-Cookie AB").str(), "set-cookie ab");
  EXPECT_EQ(ToLower("\x81\x41Z").str(), "\x81\x41z");
  EXPECT_EQ(ToLower("\xc0\xdf").str(), "\xc0\xdf");
}

TEST(FullWidth, FoldsToAscii) {
  EXPECT_EQ(FoldFullWidth("\xa3\xb1\xa3\xb2").str(), "12");
  EXPECT_EQ(FoldFullWidth("\xa1\xa1\xa1\xab\xa1\xee\xa1\xef").str(), " ~**");
  EXPECT_EQ(FoldFullWidth("\xa3\xa1\xa3\xfe").str(), "!~");
  EXPECT_EQ(FoldFullWidth("\xa3\xa0\xb0\xa1").str(), "\xa3\xa0\xb0\xa1");
  // 0xA3 as a trail byte is not a full-width lead.
  EXPECT_EQ(FoldFullWidth("\xb0\xa3\xb1").str(), "\xb0\xa3\xb1");
}

}  // namespace
}  // namespace morvane
