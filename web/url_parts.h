// Splitting a web address into the pieces a request needs: host, port and
// path. Addresses come as a caller writes them: "http://" or "https://" or
// no scheme at all, with or without a port and a path. None of the routines
// fails; every address, the empty one included, gives a value.
#pragma once

#include <optional>

#include "text/types.h"

namespace morvane {

// The host in lower case, without scheme and path; with keepPort true the
// ":port" stays on when the address has one. Everything between the scheme
// and the first "/" after it counts as host, so "http://srv?x=1" gives
// "srv?x=1".
// Example: UrlHost("https://SRV:8443/A") == "srv"; with keepPort "srv:8443".
[[nodiscard]] Text UrlHost(const Text& address, std::optional<bool> keepPort = {});

// The explicit port, else 443 for an address beginning with "https" (any
// case) and 80 for any other. A port text without leading digits gives 0.
// Example: UrlPort("https://srv:80/") == 80; UrlPort("HTTPS://srv") == 443.
[[nodiscard]] int UrlPort(const Text& address);

// Everything from the first "/" after the host to the end, in the address's
// own case; "/" when there is none.
// Example: UrlPath("https://SRV:8443/A/b?c=D") == "/A/b?c=D".
[[nodiscard]] Text UrlPath(const Text& address);

}  // namespace morvane
