// One complete HTTP exchange with the program's header conventions.
#pragma once

#include <optional>

#include "text/types.h"
#include "web/http_client.h"

namespace morvane {

// Sends one GET (method 0, or any value outside 0..2), POST (1) or HEAD (2)
// to `address` through `client` and returns the whole response body; empty
// Bytes when the exchange failed.
//
// Pointer parameters are optional: nullptr means absent. The in-and-out
// ones (cookieText, extraHeaders, bodyBytes) and the out ones
// (returnedCookies, headerText) are the caller's own variables and are
// written back. A given cookieText, even an empty one, switches off the
// client's own cookie store and is merged with the returned cookies.
//
// Example: Bytes body = WebRequest(client, "http://srv/x");
[[nodiscard]] Bytes WebRequest(HttpClient& client, const Text& address,
                               std::optional<int> method = {}, const Text* postText = nullptr,
                               Text* cookieText = nullptr, Text* returnedCookies = nullptr,
                               Text* extraHeaders = nullptr, Text* headerText = nullptr,
                               std::optional<bool> noRedirect = {}, Bytes* bodyBytes = nullptr,
                               const Text* proxy = nullptr);

// The text after the first ":" of text, trimmed; empty without a ":".
[[nodiscard]] Text ValueAfterColon(const Text& text);

}  // namespace morvane
