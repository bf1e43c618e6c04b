#include <gtest/gtest.h>

#include <optional>

#include "text/extract.h"

namespace morvane {
namespace {

TEST(Extract, MiddleText) {
  struct Case {
    const char* text;
    const char* left;
    const char* right;
    std::optional<int> start;
    std::optional<bool> ignoreCase;
    const char* want;
  };
  const Case cases[] = {
      {"a[b]c[d]", "[", "]", {}, {}, "b"},
      {"x[a[b]y", "[", "]", {}, {}, "a[b"},
      {"[]", "[", "]", {}, {}, ""},
      {"]x[", "[", "]", {}, {}, ""},
      {"x[y", "[", "]", {}, {}, ""},
      {"abc[", "[", "]", {}, {}, ""},
      {"[a][b]", "[", "]", 2, {}, "b"},
      {"[a][b]", "[", "]", 4, {}, "b"},
      {"[a][b]", "[", "]", 0, {}, "a"},
      {"[a][b]", "[", "]", 99, {}, ""},
      {"ab]c", "", "]", {}, {}, "ab"},
      {"a[b]c", "[", "", {}, {}, ""},
      {"say \"hi\" now", "#\xd2\xfd\xba\xc5", "#\xd2\xfd\xba\xc5", {}, {}, "hi"},
      {"ID=7;", "id=", ";", {}, {}, ""},
      {"ID=7;", "id=", ";", {}, true, "7"},
      {"\xc3\xfb\xd7\xd6[ab]", "[", "]", {}, {}, "ab"},
      {"\x81[x]", "[", "]", {}, {}, ""},  // the "[" is a second byte
      {"{\"song_name\":\"a\\\"b\",\"x\"}", "song_name\"", "\"", {}, {}, ":"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(MiddleText(c.text, c.left, c.right, c.start, c.ignoreCase).str(), c.want);
  }
}

TEST(Extract, TextAfterLast) {
  struct Case {
    const char* text;
    const char* separator;
    std::optional<int> start;
    std::optional<bool> ignoreCase;
    const char* want;
  };
  const Case cases[] = {
      {"play?s=abc", "=", {}, {}, "abc"},
      {"a=1&b=2", "=", {}, {}, "2"},
      {"abc", "=", {}, {}, ""},
      {"a=b=", "=", {}, {}, ""},
      {"s=", "=", {}, {}, ""},
      {"a::b::c", "::", {}, {}, "c"},
      {"a===b", "==", {}, {}, "b"},
      {"abc", "", {}, {}, "abc"},
      {"", "=", {}, {}, ""},
      {"a=b=c", "=", 4, {}, "b=c"},
      {"a=b=c", "=", 5, {}, "c"},
      {"a=b=c", "=", 1, {}, ""},
      {"a=b=c", "=", -2, {}, ""},
      {"a=b=c", "=", 50, {}, "c"},
      {"1AB2ab3", "AB", {}, {}, "2ab3"},
      {"1AB2ab3", "AB", {}, true, "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextAfterLast(c.text, c.separator, c.start, c.ignoreCase).str(), c.want);
  }
}

}  // namespace
}  // namespace morvane
