// Forward and backward search over GBK character boundaries.
#include <algorithm>

#include "text/char_step.h"
#include "text/primitives.h"

namespace morvane {

namespace {

// The 0-based offset a start position stands for; 1 and below (any
// negative value too) mean the first position.
std::size_t StartOffset(int start) { return start <= 1 ? 0 : static_cast<std::size_t>(start - 1); }

// Calls visit(p) for each candidate offset from `from`, stepping by
// characters counted from `from`, while `len` bytes fit before `limit`.
// Stops early when visit returns true.
template <typename Visit>
void ForEachCandidate(std::string_view s, std::size_t from, std::size_t len, std::size_t limit,
                      Visit visit) {
  for (std::size_t p = from; p + len <= limit; p += detail::CharWidth(s, p)) {
    if (visit(p)) return;
  }
}

}  // namespace

int FindText(const Text& text, const Text& search, std::optional<int> start,
             std::optional<bool> ignoreCase) {
  const std::string_view s = text.view();
  const std::string_view needle = search.view();
  const std::size_t b = start ? StartOffset(*start) : 0;
  if (b >= s.size()) return -1;
  if (needle.empty()) return 1;
  const bool fold = ignoreCase.value_or(false);
  int found = -1;
  ForEachCandidate(s, b, needle.size(), s.size(), [&](std::size_t p) {
    if (!detail::BytesMatchAt(s, p, needle, fold)) return false;
    found = static_cast<int>(p) + 1;
    return true;
  });
  return found;
}

int FindTextReverse(const Text& text, const Text& search, std::optional<int> start,
                    std::optional<bool> ignoreCase) {
  const std::string_view s = text.view();
  const std::string_view needle = search.view();
  std::size_t region = s.size();
  if (start) region = std::min(StartOffset(*start), s.size());
  if (region == 0) return -1;
  if (needle.empty()) return 1;
  const bool fold = ignoreCase.value_or(false);
  int found = -1;
  ForEachCandidate(s, 0, needle.size(), region, [&](std::size_t p) {
    if (detail::BytesMatchAt(s, p, needle, fold)) found = static_cast<int>(p) + 1;
    return false;
  });
  return found;
}

}  // namespace morvane
