// The code page 936 boundary of the window: the same texts whatever the
// process's own code page (this suite runs under C.UTF-8, where Wine's ANSI
// code page is 1252), and the byte count the pause box's limit uses.
#include <gtest/gtest.h>

#include "app/texts.h"
#include "platform/win32/shell_address.h"
#include "platform/win32/wide_text.h"

namespace morvane::win32 {
namespace {

TEST(WideText, GbkTextsBecomeTheirCharactersAndBack) {
  struct Case {
    const char* gbk;
    const wchar_t* wide;
  };
  const Case cases[] = {
      {texts::kMessageCaption, L"\u4fe1\u606f\uff1a"},          // 信息：
      {texts::kNotStarted, L"\u8f6f\u4ef6\u672a\u542f\u52a8"},  // 软件未启动
      {"\x81\x5c", L"\u4e57"},                                  // a trail byte that is "\" in ASCII
      {"60", L"60"},
      {"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gbk);
    EXPECT_EQ(WideFromGbk(c.gbk), c.wide);
    EXPECT_EQ(GbkFromWide(c.wide), Text(c.gbk));
    EXPECT_EQ(GbkLength(c.wide), static_cast<int>(std::string_view(c.gbk).size()));
  }
  // A character code page 936 lacks becomes "?", one byte.
  EXPECT_EQ(GbkFromWide(L"\u0e01a"), Text("?a"));  // Thai ko kai
}

TEST(ShellAddress, BareHostGetsAScheme) {
  EXPECT_EQ(ShellOpenTarget("morvane.example"), L"http://morvane.example");
  EXPECT_EQ(ShellOpenTarget("https://morvane.example/x"), L"https://morvane.example/x");
  EXPECT_EQ(ShellOpenTarget(""), L"");
}

}  // namespace
}  // namespace morvane::win32
