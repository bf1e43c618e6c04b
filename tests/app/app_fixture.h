// The program on the simulated window with a scripted HTTP client whose
// requests take their time on the simulated clock.
#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "tests/app/fake_http_client.h"
#include "tests/support/sim_window.h"

namespace morvane {

// Texts in failure messages as hex bytes: they are GBK.
inline void PrintTo(const Text& text, std::ostream* os) {
  static constexpr char kDigits[] = "0123456789abcdef";
  *os << '"';
  for (char c : text.view()) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      *os << c;
    } else {
      *os << "\\x" << kDigits[b >> 4] << kDigits[b & 15];
    }
  }
  *os << '"';
}

}  // namespace morvane

namespace morvane::testing {

// A share link as the service hands them out today.
inline constexpr char kShareLink[] =
    "https://kg.qq.com/node/play?s=AbC123&shareuid=63a1&topsource=a0_pn201001006";

class AppTest : public ::testing::Test {
 protected:
  AppTest() {
    http.elapse = [this](int ms) { w.Block(ms); };
  }

  // Types the address and presses Start.
  void StartWith(const char* address) {
    ASSERT_TRUE(w.Type(Control::编辑框1, address));
    ASSERT_TRUE(w.Click(Control::按钮1));
  }

  [[nodiscard]] int Period(Control timer) const { return w.TimerPeriod(timer); }

  FakeHttpClient http;
  SimProgram sim{http};
  SimWindow& w = sim.window;
  ProgramState& state = sim.program.state;
};

}  // namespace morvane::testing
