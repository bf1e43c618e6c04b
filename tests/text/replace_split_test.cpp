#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "text/primitives.h"

namespace morvane {
namespace {

std::vector<std::string> Items(const TextList& list) {
  std::vector<std::string> out;
  for (int i = 1; i <= ListCount(list); ++i) out.push_back(ListItem(list, i).str());
  return out;
}

TEST(Replace, Cases) {
  struct Case {
    const char* text;
    const char* search;
    std::optional<Text> replacement;
    bool caseSensitive;
    const char* want;
  };
  const Case cases[] = {
      {"aaa", "aa", Text("b"), true, "ba"},
      {"abc", "", Text("x"), true, "abc"},
      {"", "a", Text("x"), true, ""},
      {"xSET-COOKIE: 1", "Set-Cookie", Text("Set-Cookie"), false, "xSet-Cookie: 1"},
      {"xSET-COOKIE: 1", "Set-Cookie", Text("Set-Cookie"), true, "xSET-COOKIE: 1"},
      {"Set-Cookie: a=1", "Set-Cookie:", std::nullopt, false, " a=1"},
      {"aXa", "a", Text("aa"), true, "aaXaa"},  // the replacement is not rescanned
      // A trail byte equal to the search byte is not replaced.
      {"\x81\x5c\\", "\\", Text("/"), true, "\x81\x5c/"},
      {"#\xd2\xfd\xba\xc5x", "#\xd2\xfd\xba\xc5", Text("\""), true, "\"x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReplaceText(c.text, c.search, c.replacement, c.caseSensitive).str(), c.want);
  }
}

TEST(Split, Cases) {
  struct Case {
    const char* text;
    const char* separator;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {"a;;b", ";", {"a", "", "b"}},
      {";a", ";", {"", "a"}},
      {"a;", ";", {"a"}},
      {";", ";", {""}},
      {"", ";", {}},
      {"a", "", {"a"}},
      {"a\r\nb\r\n", "\r\n", {"a", "b"}},
      {"a; b; a", "; ", {"a", "b", "a"}},
      // The separator inside a two-byte character does not split it.
      {"\x81;x;y", ";", {"\x81;x", "y"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Items(SplitText(c.text, c.separator)), c.want);
  }
}

}  // namespace
}  // namespace morvane
