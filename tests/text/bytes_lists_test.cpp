#include <gtest/gtest.h>

#include <string>

#include "text/primitives.h"

namespace morvane {
namespace {

using namespace std::string_view_literals;

TEST(Bytes, Primitives) {
  EXPECT_EQ(TextToBytes("ab").view(), "ab"sv);
  EXPECT_TRUE(TextToBytes("").empty());
  EXPECT_EQ(BytesToText(Bytes("a\0b"sv)).str(), "a");
  EXPECT_TRUE(BytesToText(Bytes()).empty());
  const Bytes b("xyz"sv);
  EXPECT_TRUE(BytesLeft(b, 0).empty());
  EXPECT_EQ(BytesLeft(b, 8).view(), "xyz"sv);
  EXPECT_EQ(BytesLeft(b, 2).view(), "xy"sv);
  EXPECT_TRUE(BlankBytes(0).empty());
  EXPECT_EQ(BlankBytes(3).view(), "\0\0\0"sv);
  EXPECT_TRUE(BytesEqual(Bytes(), Bytes(""sv)));
  EXPECT_FALSE(BytesEqual(Bytes("a"sv), Bytes("a\0"sv)));
  EXPECT_TRUE(ConcatBytes(Bytes(), Bytes()).empty());
  EXPECT_EQ(ConcatBytes(Bytes("a\0"sv), Bytes("b"sv), Bytes("c"sv)).view(), "a\0bc"sv);
  EXPECT_EQ(BytesLength(Bytes("a\0b"sv)), 3);
}

// The body read appends 1 KiB chunks; moving the growing value in keeps it
// in one buffer instead of copying the whole body per chunk.
TEST(Bytes, ConcatInPlaceKeepsTheBuffer) {
  Bytes body = BlankBytes(1024);
  body.Reserve(1 << 20);
  const char* before = body.data();
  const Bytes chunk = BlankBytes(1024);
  for (int i = 0; i < 100; ++i) body = ConcatBytes(std::move(body), chunk);
  EXPECT_EQ(body.data(), before);
  EXPECT_EQ(BytesLength(body), 101 * 1024);
}

TEST(Lists, AppendAndItem) {
  TextList list;
  EXPECT_EQ(ListCount(list), 0);
  Text mine("a");
  ListAppend(list, mine);
  mine = Text("changed");
  ListAppend(list, "b");
  ASSERT_EQ(ListCount(list), 2);
  EXPECT_EQ(ListItem(list, 1).str(), "a");
  EXPECT_EQ(ListItem(list, 2).str(), "b");
}

TEST(ListsDeathTest, IndexOutsideTheListIsAFault) {
  TextList list;
  ListAppend(list, "a");
  EXPECT_DEATH((void)ListItem(list, 0), "list index 0 outside 1..1");
  EXPECT_DEATH((void)ListItem(list, 2), "list index 2 outside 1..1");
}

}  // namespace
}  // namespace morvane
