// The song-info query: the share id, the request address, the decoding of
// the response and the two values cut out of it, on the simulated window.
#include <gtest/gtest.h>

#include <string>

#include "app/song_info.h"
#include "app/texts.h"
#include "tests/app/app_fixture.h"

namespace morvane::testing {
namespace {

constexpr char kRequestPrefix[] =
    "http://node.kg.qq.com/fcgi-bin/kg_ugc_getdetail?rnd=&g_tk=&callback=jsopgetsonginfo&shareid=";

Text Gbk(std::string_view utf8) { return Utf8ToAnsiText(Bytes(utf8)); }

TEST(ShareId, FromTheAddress) {
  const struct {
    const char* address;
    const char* id;
  } kCases[] = {
      {"http://kg.qq.com/play.html?s=abcdefghij", "abcdefghij"},
      {kShareLink, "AbC123"},  // s followed by other parameters
      {"https://kg.qq.com/node/play?shareuid=63a1&s=AbC123&x=1", "AbC123"},
      {"https://kg.qq.com/node/play?s=AbC123#comments", "AbC123"},
      {"https://kg.qq.com/node/play?s=AbC123\r\n", "AbC123"},  // a line break typed after it
      {"https://kg.qq.com/node/play?s=AbC 123", "AbC"},
      {"https://kg.qq.com/node/play?s=AbC\t123", "AbC"},
      {"https://kg.qq.com/node/play?ss=1&ids=xyz", "xyz"},  // no "s": after the last "="
      {"http://kg.qq.com/play?id=xyz\r\nmore", "xyz"},
      {"http://kg.qq.com/play?s=", ""},
      {"http://kg.qq.com/play?id=", ""},  // trailing "="
      {"http://kg.qq.com/play", ""},      // no "=" at all
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ShareIdFromAddress(c.address), Text(c.id)) << c.address;
  }
}

TEST(SongInfoAddress, EncodesEveryByteThatCouldChangeTheRequest) {
  const struct {
    const char* id;
    std::string tail;
  } kCases[] = {
      {"AbC123", "AbC123"},
      {"", ""},
      {"a-._~Z9", "a-._~Z9"},
      {"a/b?c&d=e+f#g", "a%2Fb%3Fc%26d%3De%2Bf%23g"},
      {"%2F%zz%4", "%2F%25zz%254"},  // only a complete escape is kept
      {"\xb2\xe2", "%B2%E2"},        // GBK bytes
      {"a\r\nHost: x", "a%0D%0AHost%3A%20x"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SongInfoAddress(c.id), Text(kRequestPrefix + c.tail)) << c.id;
  }
}

TEST(Utf8ToAnsiText, DecodesToGbkAndNeverCutsTheText) {
  const struct {
    std::string_view body;
    std::string_view gbk;
  } kCases[] = {
      {"", ""},
      {"\xe6\xb5\x8b\xe8\xaf\x95 song", "\xb2\xe2\xca\xd4 song"},
      {"\xe2\x82\xac", "\x80"},            // the euro sign
      {"\xee\xa1\xa4", "\xfe\xa0"},        // U+E864, the last private-use character
      {"\xee\x93\x86", "\xa1\x40"},        // U+E4C6, on a lead byte of GB2312 symbols
      {"\xef\xa3\xb5", "\xff"},            // U+F8F5, the single byte FF
      {"a\xf0\x9f\x98\x80z", "a??z"},      // outside GBK: one "?" per UTF-16 unit
      {"\xea\xb0\x80", "?"},               // Hangul
      {"a\xffz", "a?z"},                   // invalid UTF-8
      {"a\xe6\xb5", "a?"},                 // cut short at the end: not dropped
      {std::string_view("a\0b", 3), "a"},  // a zero byte ends a Text
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Utf8ToAnsiText(Bytes(c.body)), Text(c.gbk)) << c.body;
  }
}

TEST(Utf8ToAnsiText, ProgramTextsAreTheGbkOfTheirWording) {
  const struct {
    const char* utf8;
    const char* gbk;
  } kTexts[] = {
      {"秒后启动", texts::kCountdownAfter},
      {"软件暂时停止将在", texts::kCountdownBefore},
      {"软件未启动", texts::kNotStarted},
      {"访问作者网站", texts::kAuthorLinkText},
      {"点我看使用说明", texts::kInstructionsClosed},
      {"收起", texts::kInstructionsOpen},
      {"/分钟", texts::kPerMinute},
      {"默认间隔", texts::kDefaultInterval},
      {"歌曲播放地址：", texts::kAddressCaption},
      {"当前播放次数：", texts::kPlayCountCaption},
      {"歌曲名字：", texts::kSongNameCaption},
      {"实时状态", texts::kGroupCaption},
      {"开始", texts::kStartCaption},
      {"请输入地址", texts::kEnterAddress},
      {"不是全民K歌地址", texts::kNotServiceAddress},
      {"信息：", texts::kMessageCaption},
      {"输入地址 如http://kg.qq.com/play.html?s=abcdefghij\r\n"
       "\r\n"
       "默认间隔为防止ip限制 因为该网站限制了一台ip的访问量\r\n"
       "\r\n"
       " 所以要间隔1个小时后继续刷 也可以自己设置间隔时间测试\r\n"
       "\r\n"
       "当然也可以为本机代理ip 因为现在ip质量不是很好 软件也就没有加入该功能，需要的可以自己代理ip "
       "\r\n",
       texts::kInstructions},
  };
  for (const auto& t : kTexts) EXPECT_EQ(Gbk(t.utf8), Text(t.gbk)) << t.utf8;
}

class SongInfoQuery : public AppTest {
 protected:
  // Polls once more with this response body.
  void PollWith(std::string body, bool fail = false) {
    http.answer = [body, fail](const FakeExchange&) { return FakeAnswer{body, fail}; };
    w.Advance(500);
  }
};

TEST_F(SongInfoQuery, PollShowsTheNameAndCountOfTheRecord) {
  const std::string body =
      "jsopgetsonginfo({\"code\":0,\"data\":{\"song_name\":\"\xe6\xb5\x8b\xe8\xaf\x95\","
      "\"play_num\":1234,\"ugc_id\":\"u\"}})";
  StartWith(kShareLink);
  PollWith(body);

  ASSERT_EQ(http.exchanges.size(), 1u);
  EXPECT_EQ(http.exchanges[0].verb, "GET");
  EXPECT_EQ(http.exchanges[0].Address(), std::string(kRequestPrefix) + "AbC123");
  EXPECT_EQ(state.shareId, Text("AbC123"));
  EXPECT_EQ(state.lastSongRecord, Gbk(body));
  EXPECT_EQ(w.TextOf(Control::透明标签12), Text("\xb2\xe2\xca\xd4"));
  EXPECT_EQ(w.TextOf(Control::透明标签11), Text("1234"));
}

TEST_F(SongInfoQuery, ValuesAreCutOutByTheirDelimiters) {
  const struct {
    const char* what;
    std::string body;
    const char* name;
    const char* count;
  } kCases[] = {
      {"escaped quote ends the name", R"({"song_name":"say \"hi\"","play_num":5,)", "say \\", "5"},
      {"play_num last: up to the next comma", R"({"data":{"song_name":"a","play_num":7},"more":1})",
       "a", "7}"},
      {"play_num last, no comma after", R"({"song_name":"a","play_num":7})", "a", ""},
      {"neither key", R"({"code":-1,"msg":"x"})", "", ""},
      {"name outside GBK", "{\"song_name\":\"a\xf0\x9f\x98\x80\",\"play_num\":0,", "a??", "0"},
      {"garbage", "\xff\xfe<html>\x80", "", ""},
      {"empty body", "", "", ""},
  };
  StartWith(kShareLink);
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    PollWith(c.body);
    EXPECT_EQ(w.TextOf(Control::透明标签12), Text(c.name));
    EXPECT_EQ(w.TextOf(Control::透明标签11), Text(c.count));
  }
  EXPECT_TRUE(state.lastSongRecord.empty()) << "after the empty body";
}

TEST_F(SongInfoQuery, FailedRequestEmptiesBothLabelsAndTheNextPollTriesAgain) {
  const std::string good = R"({"song_name":"a","play_num":9,)";
  StartWith(kShareLink);
  PollWith(good);
  PollWith(good, /*fail=*/true);
  EXPECT_EQ(w.TextOf(Control::透明标签12), Text());
  EXPECT_EQ(w.TextOf(Control::透明标签11), Text());
  EXPECT_TRUE(state.lastSongRecord.empty());
  PollWith(good);
  EXPECT_EQ(w.TextOf(Control::透明标签12), Text("a"));
  EXPECT_EQ(w.TextOf(Control::透明标签11), Text("9"));
  EXPECT_EQ(http.exchanges.size(), 3u);
  EXPECT_TRUE(w.LogOf(SimOp::Kind::kShowMessage).empty());
}

TEST_F(SongInfoQuery, EditedAddressIsUsedFromTheNextPollWithoutACheck) {
  StartWith(kShareLink);
  w.Advance(500);
  ASSERT_TRUE(w.Type(Control::编辑框1, "not the service, id=zz"));
  w.Advance(500);
  ASSERT_EQ(http.exchanges.size(), 2u);
  EXPECT_EQ(http.exchanges[1].Address(), std::string(kRequestPrefix) + "zz");
  EXPECT_TRUE(w.LogOf(SimOp::Kind::kShowMessage).empty());
}

TEST_F(SongInfoQuery, NothingTypedReachesTheRequestUnencoded) {
  const char* const kAddresses[] = {
      "https://kg.qq.com/node/play?s=Ab C\r\nX-Injected: 1",
      "https://kg.qq.com/node/play?x=1\r\nX-Injected: yes=1 2",
      "https://kg.qq.com/node/play?s=\xb2\xe2%0D%0A\"<>\\^`{|}",
      "https://kg.qq.com/x?id=\n\nGET / HTTP/1.1",
  };
  StartWith(kShareLink);
  for (const char* address : kAddresses) {
    ASSERT_TRUE(w.Type(Control::编辑框1, address));
    w.Advance(500);
    const std::string& path = http.exchanges.back().path;
    for (char c : path) {
      const auto b = static_cast<unsigned char>(c);
      EXPECT_TRUE(b > 0x20 && b < 0x7F && c != '"' && c != '\\' && c != '{')
          << address << " gave the path " << path;
    }
  }
}

}  // namespace
}  // namespace morvane::testing
