// Delimited extraction, built on the search and cutting primitives.
#include "text/extract.h"

#include "text/primitives.h"

namespace morvane {

namespace {

// "#引号" in GBK: inside a delimiter it stands for one double quote.
const Text kQuotePlaceholder("#\xd2\xfd\xba\xc5");

}  // namespace

Text MiddleText(const Text& text, const Text& left, const Text& right, std::optional<int> start,
                std::optional<bool> ignoreCase) {
  const Text l = ReplaceText(left, kQuotePlaceholder, Text("\""), true);
  const Text r = ReplaceText(right, kQuotePlaceholder, Text("\""), true);
  const bool fold = ignoreCase.value_or(false);
  int c = FindText(text, l, start.value_or(0), fold);
  if (c == -1) return {};
  c += TextLength(l);
  const int d = FindText(text, r, c, fold);
  if (d == -1) return {};
  return TextMid(text, c, d - c);
}

Text TextAfterLast(const Text& text, const Text& separator, std::optional<int> start,
                   std::optional<bool> ignoreCase) {
  const int p = FindTextReverse(text, separator, start, ignoreCase.value_or(false));
  if (p == -1) return {};
  return TextRight(text, TextLength(text) - TextLength(separator) - p + 1);
}

}  // namespace morvane
