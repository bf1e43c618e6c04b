#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "text/primitives.h"

namespace morvane {
namespace {

TEST(Numbers, ToNumber) {
  struct Case {
    const char* text;
    double want;
  };
  const Case cases[] = {
      {"60", 60},
      {" 1.5", 1.5},
      {"3600abc", 3600},
      {"abc", 0},
      {"", 0},
      {"-0.4", -0.4},
      {".5", 0.5},
      {"5.", 5},
      {"1e", 1},
      {"1e+", 1},
      {"6e+013", 6e13},
      {"2d3", 2000},
      {"2D-1", 0.2},
      {"\xa3\xb1\xa3\xb2", 12},
      {"\t\n 7", 7},
      {"+8", 8},
      {"-", 0},
      {".", 0},
      {"1.2.3", 1.2},
      {"\xa3\xad\xa3\xb3", -3},  // full-width minus and 3
      {"1e999", INFINITY},
      {"1e-999", 0},
      {"0.01", 0.01},
      // Beyond a double's range the nearest real is infinity or 0, by the
      // size of the number, not by the sign of its exponent.
      {"1e+400", INFINITY},
      {"-1e400", -INFINITY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ToNumber(c.text), c.want);
  }
  const std::string zeros(400, '0');
  EXPECT_EQ(ToNumber(Text("0." + zeros + "1")), 0.0);
  EXPECT_EQ(ToNumber(Text("0." + zeros + "1e+5")), 0.0);
  EXPECT_EQ(ToNumber(Text("1" + zeros + "e-1")), INFINITY);
}

TEST(Numbers, ToIntegerWrapsIn32Bits) {
  struct Case {
    const char* text;
    std::int32_t want;
  };
  const Case cases[] = {
      {"8080", 8080},
      {"80/x", 80},
      {" -12", -12},
      {"12.9", 12},
      {"", 0},
      {"x1", 0},
      {"4294967297", 1},
      {"2147483648", INT32_MIN},
      {"-2147483648", INT32_MIN},
      {"\xa3\xb8\xa3\xb0", 80},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ToInteger(c.text), c.want);
  }
}

TEST(Numbers, NumberToText) {
  struct Case {
    double x;
    const char* want;
  };
  const Case cases[] = {
      {3600, "3600"},
      {3599, "3599"},
      {90, "90"},
      {0, "0"},
      {-0.0, "0"},
      {-1, "-1"},
      {0.6, "0.6"},
      {0.6 - 1, "-0.4"},
      {0.1 * 60, "6"},
      {1.23456789012345, "1.234567890123"},
      {9999999999999, "9999999999999"},
      {99999999999999, "1e+014"},
      {60000000000000, "6e+013"},
      {0.0001, "0.0001"},
      {0.00001, "1e-005"},
      {-0.00012345, "-0.00012345"},
      {59940, "59940"},
      {1e100, "1e+100"},
      {2.5e-300, "2.5e-300"},
      {1234567890123.4, "1234567890123"},
      {0.6 * 60, "36"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(NumberToText(c.x).str(), c.want);
  }
}

// The countdown writes with NumberToText and reads back with ToNumber.
TEST(Numbers, RoundTrip) {
  for (double x : {0.6, -0.4, 3600.0, 1.5e-7, 6e13, 123.456}) {
    SCOPED_TRACE(x);
    EXPECT_NEAR(ToNumber(NumberToText(x)), x, std::fabs(x) * 1e-12);
  }
  EXPECT_EQ(BitOr(0x10, static_cast<std::int32_t>(0x80000000u)),
            static_cast<std::int32_t>(0x80000010u));
}

// A locale with a decimal comma must change neither direction.
TEST(Numbers, IndependentOfTheCLocale) {
  const char* found = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German", "French"}) {
    if ((found = std::setlocale(LC_ALL, name)) != nullptr) break;
  }
  if (found == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_EQ(NumberToText(1.5).str(), "1.5");
  EXPECT_EQ(ToNumber("1.5"), 1.5);
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace morvane
