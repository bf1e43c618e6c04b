// The wire contract with the libcurl client.
#include "platform/posix/curl_client.h"
#include "tests/web/http_contract.h"

namespace morvane::testing {
namespace {

std::unique_ptr<HttpClient> MakeCurl() { return std::make_unique<CurlHttpClient>(); }

INSTANTIATE_TEST_SUITE_P(Curl, HttpContract, ::testing::Values(&MakeCurl));

}  // namespace
}  // namespace morvane::testing
