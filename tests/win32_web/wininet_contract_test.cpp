// The wire contract with the WinINet client, under Wine: the same table the
// libcurl client meets on Linux.
#include "platform/win32/wininet_client.h"
#include "tests/web/http_contract.h"

namespace morvane::testing {
namespace {

std::unique_ptr<HttpClient> MakeWinInet() { return std::make_unique<WinInetHttpClient>(); }

INSTANTIATE_TEST_SUITE_P(WinInet, HttpContract, ::testing::Values(&MakeWinInet));

}  // namespace
}  // namespace morvane::testing
