// Space trimming and removal, lower-casing and full-width folding; all step
// through whole GBK characters from the first byte.
#include "text/char_step.h"
#include "text/primitives.h"

namespace morvane {

namespace {

constexpr unsigned char kFullWidthLead = 0xA1;

// True when the character of width w at offset i is a space character.
bool IsSpaceChar(std::string_view s, std::size_t i, std::size_t w) {
  if (w == 1) return s[i] == ' ';
  return static_cast<unsigned char>(s[i]) == kFullWidthLead &&
         static_cast<unsigned char>(s[i + 1]) == kFullWidthLead;
}

}  // namespace

Text TrimBoth(const Text& text) {
  const std::string_view s = text.view();
  std::size_t p = 0;
  while (p < s.size()) {
    const std::size_t w = detail::CharWidth(s, p);
    if (!IsSpaceChar(s, p, w)) break;
    p += w;
  }
  const std::size_t begin = p;
  std::size_t runStart = s.size();  // where the latest run of spaces began
  bool inRun = false;
  while (p < s.size()) {
    const std::size_t w = detail::CharWidth(s, p);
    if (IsSpaceChar(s, p, w)) {
      if (!inRun) runStart = p;
      inRun = true;
    } else {
      inRun = false;
    }
    p += w;
  }
  const std::size_t end = inRun ? runStart : s.size();
  return Text(s.substr(begin, end - begin));
}

Text RemoveSpaces(const Text& text) {
  const std::string_view s = text.view();
  std::string out;
  out.reserve(s.size());
  for (std::size_t p = 0; p < s.size();) {
    const std::size_t w = detail::CharWidth(s, p);
    if (!IsSpaceChar(s, p, w)) out.append(s.substr(p, w));
    p += w;
  }
  return Text(std::move(out));
}

Text ToLower(const Text& text) {
  std::string out(text.view());
  for (std::size_t p = 0; p < out.size();) {
    const std::size_t w = detail::CharWidth(out, p);
    if (w == 1) out[p] = detail::FoldAsciiCase(out[p]);
    p += w;
  }
  return Text(std::move(out));
}

Text FoldFullWidth(const Text& text) {
  const std::string_view s = text.view();
  std::string out;
  out.reserve(s.size());
  for (std::size_t p = 0; p < s.size();) {
    const std::size_t w = detail::CharWidth(s, p);
    if (w == 2) {
      const auto lead = static_cast<unsigned char>(s[p]);
      const auto trail = static_cast<unsigned char>(s[p + 1]);
      if (lead == 0xA1 && trail == 0xA1) {
        out.push_back(' ');
      } else if (lead == 0xA1 && trail == 0xAB) {
        out.push_back('~');
      } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
        out.push_back('*');
      } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
        out.push_back(static_cast<char>(trail - 0x80));
      } else {
        out.append(s.substr(p, 2));
      }
    } else {
      out.push_back(s[p]);
    }
    p += w;
  }
  return Text(std::move(out));
}

}  // namespace morvane
