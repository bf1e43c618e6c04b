#include <gtest/gtest.h>

#include "text/primitives.h"
#include "web/cookie_merge.h"

namespace morvane {
namespace {

TEST(MergeCookies, BeforeAndAfter) {
  struct Case {
    const char* cookieText;
    const char* returned;
    const char* merged;
  };
  const Case cases[] = {
      {"", "a=1; b=2", "a=1; b=2"},
      {"x=9", "", "x=9"},
      {"", "", ""},
      {"sid=1; lang=en", "sid=2", "sid=2; lang=en"},
      {"sid=1", "sid=deleted", ""},
      {"x=1; y=deleted", "z=3", "z=3; x=1"},
      {"a=b=deleted; c=1", "", "c=1"},
      {"a=1", "b=DELETED", "b=DELETED; a=1"},
      {"", "a=1; a=1", "a=1"},
      {"", "a=1; a=2", "a=1; a=2"},
      {"a=1; a=2", "b=3", "b=3; a=1"},
      {"k = v ; m=n", "K=2", "K=2; k=v; m=n"},
      {"flag; x=1", "flag", "flag; x=1"},
      {"=x; y=2", "=deleted", "y=2"},
      {"a=hello world", "", "a=helloworld"},
      {"a=1;", "b=2;", "b=2; a=1"},
      // Full-width spaces are spaces too.
      {"a=1;\xa1\xa1"
       "b=2",
       "", "a=1; b=2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.cookieText) + " | " + c.returned);
    Text cookieText(c.cookieText);
    Text returned(c.returned);
    const Text result = MergeCookies(cookieText, returned);
    EXPECT_EQ(cookieText, Text(c.merged));
    EXPECT_EQ(result, Text(c.merged));
    // The returned cookies lose their spaces and nothing else.
    EXPECT_EQ(returned, RemoveSpaces(Text(c.returned)));
  }
}

TEST(MergeCookies, Helpers) {
  EXPECT_EQ(CookieName(" ab =1"), Text("ab"));
  EXPECT_EQ(CookieName("abc"), Text("abc"));
  EXPECT_EQ(CookieName("=x"), Text(""));
  EXPECT_EQ(JoinDistinct("a; b; a; c", "; "), Text("a; b; c"));
  EXPECT_EQ(JoinDistinct("", "; "), Text(""));

  TextList list;
  ListAppend(list, "a=1");
  ListAppend(list, "B=2");
  ListAppend(list, "a=1");
  EXPECT_TRUE(ListHasCookie(list, "B"));
  EXPECT_FALSE(ListHasCookie(list, "b"));
  EXPECT_EQ(IndexOfText(list, "a=1"), 1);
  EXPECT_EQ(IndexOfText(list, "B=2"), 2);
  EXPECT_EQ(IndexOfText(list, "c"), -1);
  EXPECT_EQ(IndexOfText(TextList(), ""), -1);
}

}  // namespace
}  // namespace morvane
