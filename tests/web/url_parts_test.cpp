#include <gtest/gtest.h>

#include "web/url_parts.h"

namespace morvane {
namespace {

TEST(UrlParts, SplitsEveryFormOfAddress) {
  struct Case {
    const char* address;
    const char* host;
    const char* hostWithPort;
    int port;
    const char* path;
  };
  const Case cases[] = {
      {"https://SRV:8443/A/b?c=D", "srv", "srv:8443", 8443, "/A/b?c=D"},
      {"http://srv", "srv", "srv", 80, "/"},
      {"HTTPS://Srv", "srv", "srv", 443, "/"},
      {"srv/x", "srv", "srv", 80, "/x"},
      {"srv:8080", "srv", "srv:8080", 8080, "/"},
      {"https://srv:80/", "srv", "srv:80", 80, "/"},  // an explicit port wins
      // No "/" after the host: the query is part of the host, not the path.
      {"http://srv:8080?x=1", "srv", "srv:8080?x=1", 8080, "/"},
      {"http://srv?x=1", "srv?x=1", "srv?x=1", 80, "/"},
      // User information: the user name is taken for the host and the text
      // after the last ":" has no leading digits.
      {"http://user:pw@srv/a", "user", "user:pw@srv", 0, "/a"},
      {"see http://srv/a", "srv", "srv", 80, "/a"},
      {"", "", "", 80, "/"},
      // The path keeps its case and its fragment; only the host is folded.
      {"http://Srv.Example/Q?A=B#F", "srv.example", "srv.example", 80, "/Q?A=B#F"},
      // "https" is looked for in the first five letters of the address only.
      {"httpsrv/x", "httpsrv", "httpsrv", 443, "/x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(UrlHost(c.address), Text(c.host));
    EXPECT_EQ(UrlHost(c.address, true), Text(c.hostWithPort));
    EXPECT_EQ(UrlPort(c.address), c.port);
    EXPECT_EQ(UrlPath(c.address), Text(c.path));
  }
}

}  // namespace
}  // namespace morvane
