// The process-wide cookie store that curl transfers share while the
// caller lets the client keep cookies.
#pragma once

#include <curl/curl.h>

namespace morvane {

// The one share handle, made on first use; it lives as long as the process.
CURLSH* SharedCookieStore();

// curl_global_init, once per process, before any curl handle is made.
void EnsureCurlReady();

}  // namespace morvane
