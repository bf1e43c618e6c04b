// One table of UTF-8 inputs and the code-page-936 bytes they must become,
// checked against the backend this build links (kernel32 or iconv), so the
// two independent conversions are held to the same bytes. Characters that
// Windows maps by "best fit" (U+00A2 and the like) are left out: iconv has
// no such table and the program does not rely on it.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace morvane {
namespace {

// The two sizing-then-converting steps of the song-info decoder.
std::u16string ToWide(unsigned codePage, std::string_view bytes) {
  const int n = MultiByteToWide(codePage, bytes, nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(n), u'\0');
  if (n > 0) {
    EXPECT_EQ(MultiByteToWide(codePage, bytes, wide.data(), n), n);
  }
  return wide;
}

std::string FromWide(unsigned codePage, std::u16string_view wide) {
  const int m = WideToMultiByte(codePage, wide, nullptr, 0);
  std::string bytes(static_cast<std::size_t>(m), '\0');
  if (m > 0) {
    EXPECT_EQ(WideToMultiByte(codePage, wide, bytes.data(), m), m);
  }
  return bytes;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
    out += ' ';
  }
  return out;
}

struct Case {
  const char* what;
  std::string_view utf8;
  std::string_view gbk;
  bool representable;  // round-trips through code page 936
};

const Case kCases[] = {
    {"ASCII", "play_num\":42,", "play_num\":42,", true},
    {"service name", "\xe5\x85\xa8\xe6\xb0\x91K\xe6\xad\x8c", "\xc8\xab\xc3\xf1K\xb8\xe8", true},
    {"GB2312 hanzi", "\xe6\xb5\x8b\xe8\xaf\x95", "\xb2\xe2\xca\xd4", true},
    {"euro sign, the one single-byte extra", "\xe2\x82\xac", "\x80", true},
    {"ideographic space", "\xe3\x80\x80", "\xa1\xa1", true},
    {"full-width exclamation", "\xef\xbc\x81", "\xa3\xa1", true},
    {"first private-use character", "\xee\x80\x80", "\xaa\xa1", true},
    {"first two-byte code 81 40", "\xe4\xb8\x82", "\x81\x40", true},
    {"trail byte that reads as backslash", "\xe4\xb9\x97", "\x81\x5c", true},
    {"trail byte that reads as bar", "\xe4\xba\x85", "\x81\x7c", true},
    {"trail bytes either side of the 7F gap", "\xe4\xba\x8a\xe4\xba\x90", "\x81\x7e\x81\x80", true},
    {"last trail byte FE", "\xe4\xbe\xa2", "\x81\xfe", true},
    {"last GB2312 character", "\xe9\xbd\x84", "\xf7\xfe", true},
    {"last lead byte FE", "\xef\xa8\xa9", "\xfe\x4f", true},
    {"GBK symbol area A9", "\xe3\x80\x87", "\xa9\x96", true},
    {"Latin, Greek, Cyrillic", "\xc4\x81\xce\xa9\xd1\x91", "\xa8\xa1\xa6\xb8\xa7\xd7", true},
    {"Thai is not in 936", "a\xe0\xb8\x81z", "a?z", false},
    {"Hangul is not in 936", "\xea\xb0\x80", "?", false},
    {"Arabic is not in 936", "\xd8\xa7", "?", false},
    // Song names carry emoji; each of the two UTF-16 units becomes one "?".
    {"character beyond U+FFFF", "a\xf0\x9f\x98\x80z", "a??z", false},
    // Invalid UTF-8: one U+FFFD, hence one "?", per maximal bad sequence.
    {"lone continuation byte", "a\x80z", "a?z", false},
    {"sequence cut short", "a\xe6\xb5z", "a?z", false},
    {"byte FF never occurs in UTF-8", "a\xffz", "a?z", false},
};

TEST(CodePage, Utf8BecomesTheSame936BytesOnEveryBackend) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    const std::string gbk = FromWide(kCodePageGbk, ToWide(kCodePageUtf8, c.utf8));
    EXPECT_EQ(Hex(gbk), Hex(c.gbk));
    if (c.representable) {
      // Back again through both code pages: the wide units in between are
      // the characters themselves, not just bytes of the right length.
      EXPECT_EQ(Hex(FromWide(kCodePageUtf8, ToWide(kCodePageGbk, gbk))), Hex(c.utf8));
    }
  }
}

TEST(CodePage, SizingRules) {
  const std::string_view utf8 = "\xe6\xb5\x8b\xe8\xaf\x95!";  // two hanzi and "!"
  EXPECT_EQ(MultiByteToWide(kCodePageUtf8, utf8, nullptr, 0), 3);
  EXPECT_EQ(MultiByteToWide(kCodePageUtf8, "", nullptr, 0), 0);
  char16_t small[2] = {};
  EXPECT_EQ(MultiByteToWide(kCodePageUtf8, utf8, small, 2), 0) << "too small a buffer";

  const std::u16string wide = u"\u6d4b\u8bd5!";
  EXPECT_EQ(WideToMultiByte(kCodePageGbk, wide, nullptr, 0), 5);
  EXPECT_EQ(WideToMultiByte(kCodePageGbk, u"", nullptr, 0), 0);
  char four[4] = {};
  EXPECT_EQ(WideToMultiByte(kCodePageGbk, wide, four, 4), 0) << "too small a buffer";
}

}  // namespace
}  // namespace morvane
