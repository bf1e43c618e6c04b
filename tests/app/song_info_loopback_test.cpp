// The whole poll end to end: the simulated window, the program, the
// request routine and the platform's HTTP client against the loopback
// server, with good, empty, garbage and failed responses in turn.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "tests/app/app_fixture.h"
#include "tests/app/platform_client.h"
#include "tests/support/http_test_server.h"

namespace morvane::testing {
namespace {

std::string GoodBody(int n) {
  return "jsopgetsonginfo({\"code\":0,\"data\":{\"song_name\":\"\xe6\xb5\x8b\xe8\xaf\x95\","
         "\"play_num\":" +
         std::to_string(n) + ",\"ugc_id\":\"u\"}})";
}

Reply Answer(int i) {
  switch (i % 4) {
    case 0:
      return Reply(HttpResponse("200 OK", {"Content-Type: application/json"}, GoodBody(i)));
    case 1:
      return Reply(HttpResponse("200 OK", {}, ""));
    case 2:
      return Reply(HttpResponse("200 OK", {}, std::string("\xff\xfe\0<html>", 9)));
    default:
      return Reply(std::string());  // closes without a response
  }
}

TEST(SongInfoLoopback, EveryPollAsksForTheSongAndShowsWhatCameBack) {
  std::atomic<int> served{0};
  HttpTestServer server([&](const RecordedRequest&) { return Answer(served++); });
  const std::unique_ptr<HttpClient> platform = MakePlatformClient();
  LoopbackClient client(*platform, server.port());
  SimProgram sim(client);
  SimWindow& w = sim.window;

  ASSERT_TRUE(w.Type(Control::编辑框1, kShareLink));
  ASSERT_TRUE(w.Click(Control::按钮1));
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    w.Advance(500);
    ASSERT_EQ(served.load(), i + 1);
    const bool good = i % 4 == 0;
    EXPECT_EQ(w.TextOf(Control::透明标签12), Text(good ? "\xb2\xe2\xca\xd4" : ""));
    EXPECT_EQ(w.TextOf(Control::透明标签11), Text(good ? std::to_string(i) : std::string()));
  }

  EXPECT_EQ(client.askedHost, "node.kg.qq.com");
  EXPECT_EQ(client.askedPort, 80);
  for (const RecordedRequest& r : server.Requests()) {
    EXPECT_EQ(r.requestLine,
              "GET /fcgi-bin/kg_ugc_getdetail?rnd=&g_tk=&callback=jsopgetsonginfo&shareid=AbC123 "
              "HTTP/1.1");
  }
}

}  // namespace
}  // namespace morvane::testing
