// Texts cut by byte position, and the small text helpers.
#include <algorithm>

#include "text/char_step.h"
#include "text/primitives.h"

namespace morvane {

int TextLength(const Text& text) { return text.size(); }

bool TextEquals(const Text& a, const Text& b) { return a.view() == b.view(); }

Text TextLeft(const Text& text, int n) {
  if (n <= 0) return {};
  return Text(text.view().substr(0, static_cast<std::size_t>(n)));
}

Text TextRight(const Text& text, int n) {
  if (n <= 0) return {};
  if (n >= text.size()) return text;
  return Text(text.view().substr(static_cast<std::size_t>(text.size() - n)));
}

Text TextMid(const Text& text, int start, int n) {
  if (start < 1 || start > text.size() || n <= 0) return {};
  return Text(text.view().substr(detail::Offset(start), static_cast<std::size_t>(n)));
}

Text CharFromCode(std::uint8_t code) {
  if (code == 0) return {};
  const char c = static_cast<char>(code);
  return Text(std::string_view(&c, 1));
}

Text BlankText(int n) {
  if (n <= 0) return {};
  return Text(std::string(static_cast<std::size_t>(n), ' '));
}

}  // namespace morvane
