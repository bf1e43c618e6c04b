#include "platform/posix/curl_client.h"
#include "tests/app/platform_client.h"

namespace morvane::testing {

std::unique_ptr<HttpClient> MakePlatformClient() { return std::make_unique<CurlHttpClient>(); }

}  // namespace morvane::testing
