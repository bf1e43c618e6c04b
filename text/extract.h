// Cutting a piece out of a text by the delimiters around it.
#pragma once

#include <optional>

#include "text/types.h"

namespace morvane {

// The text between the first `left` at or after `start` and the first
// `right` after it; empty when either is missing. Inside both delimiters
// "#引号" stands for a double quote.
// Example: MiddleText("a[b]c[d]", "[", "]") == "b".
[[nodiscard]] Text MiddleText(const Text& text, const Text& left, const Text& right,
                              std::optional<int> start = {}, std::optional<bool> ignoreCase = {});

// The text after the last occurrence of separator (one lying wholly before
// `start`, when given), running to the end; empty when there is none.
// Example: TextAfterLast("a=1&b=2", "=") == "2".
[[nodiscard]] Text TextAfterLast(const Text& text, const Text& separator,
                                 std::optional<int> start = {},
                                 std::optional<bool> ignoreCase = {});

}  // namespace morvane
