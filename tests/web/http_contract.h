// The wire contract every HttpClient meets, checked through WebRequest
// against the loopback server: what goes out on the wire and what the
// routine makes of real responses. One suite for all clients: each build
// instantiates it with its own client, e.g.
//
//   std::unique_ptr<HttpClient> MakeCurl() { return std::make_unique<CurlHttpClient>(); }
//   INSTANTIATE_TEST_SUITE_P(Curl, HttpContract, ::testing::Values(&MakeCurl));
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "web/http_client.h"

namespace morvane::testing {

using HttpClientFactory = std::unique_ptr<HttpClient> (*)();

class HttpContract : public ::testing::TestWithParam<HttpClientFactory> {
 protected:
  HttpClient& client() {
    if (!client_) client_ = GetParam()();
    return *client_;
  }

 private:
  std::unique_ptr<HttpClient> client_;
};

}  // namespace morvane::testing
