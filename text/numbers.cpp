// Conversions between texts and numbers. Both directions avoid the C
// locale and the platform's printf/strtod so that every build writes and
// reads the same texts.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "text/primitives.h"

namespace morvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips the bytes 0x09 to 0x0D and 0x20.
std::size_t SkipWhiteSpace(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  return i;
}

// The power of ten of the first significant digit of a number written as
// digits with an optional point and an optional "e" exponent; used only to
// tell an overflow from an underflow. Saturates instead of overflowing.
long long DecimalMagnitude(std::string_view number) {
  const std::size_t e = number.find('e');
  const std::string_view mantissa = number.substr(0, e);
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::size_t i = e + 1;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    for (; i < number.size(); ++i)
      exponent = std::min(exponent * 10 + (number[i] - '0'), 1LL << 40);
    if (negative) exponent = -exponent;
  }
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return 0;
  const long long place = first < point ? static_cast<long long>(point - first) - 1
                                        : -static_cast<long long>(first - point);
  return place + exponent;
}

}  // namespace

double ToNumber(const Text& text) {
  const Text folded = FoldFullWidth(text);
  const std::string_view s = folded.view();
  std::size_t i = SkipWhiteSpace(s);

  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

  // Mantissa: digits with at most one point and at least one digit.
  std::string number;
  std::size_t digits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      ++digits;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
    number.push_back(s[i]);
  }
  if (digits == 0) return 0.0;

  // Exponent: a letter e/E/d/D, an optional sign, at least one digit.
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) exponent.push_back(s[j++]);
      number += exponent;
    }
  }

  double value = 0.0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                         std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: the nearest real is infinity or 0.
    value = DecimalMagnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (ec != std::errc()) {
    value = 0.0;
  }
  (void)end;
  return negative ? -value : value;
}

std::int32_t ToInteger(const Text& text) {
  const Text folded = FoldFullWidth(text);
  const std::string_view s = folded.view();
  std::size_t i = SkipWhiteSpace(s);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::uint32_t value = 0;  // unsigned: the 32-bit wrap is defined behaviour
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    value = value * 10u + static_cast<std::uint32_t>(s[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

Text NumberToText(double x) {
  if (std::isnan(x)) return Text("nan");
  if (std::isinf(x)) return Text(x < 0 ? "-inf" : "inf");
  if (x == 0.0) return Text("0");

  // Round to 13 significant digits: d.dddddddddddde±XX, correctly rounded.
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 12);
  const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
  const std::size_t ePos = sci.find('e');
  std::string digits;  // the 13 significant digits
  for (char c : sci.substr(0, ePos)) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = 0;
  std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                  exponent);

  std::string out = x < 0 ? "-" : "";
  auto dropTrailingZeros = [](std::string& s) {
    const std::size_t point = s.find('.');
    if (point == std::string::npos) return;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  };

  if (exponent >= -4 && exponent <= 12) {
    std::string plain;
    if (exponent >= 0) {
      plain = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
              digits.substr(static_cast<std::size_t>(exponent) + 1);
    } else {
      plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    dropTrailingZeros(plain);
    out += plain;
  } else {
    std::string mantissa = digits.substr(0, 1) + "." + digits.substr(1);
    dropTrailingZeros(mantissa);
    const int magnitude = exponent < 0 ? -exponent : exponent;
    std::string exp3 = std::to_string(magnitude);
    if (exp3.size() < 3) exp3.insert(0, 3 - exp3.size(), '0');
    out += mantissa + "e" + (exponent < 0 ? "-" : "+") + exp3;
  }
  return Text(std::move(out));
}

std::int32_t BitOr(std::int32_t a, std::int32_t b) { return a | b; }

}  // namespace morvane
