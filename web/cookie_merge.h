// Cookie texts: name=value items separated by ";". A request hands one in
// and gets it back brought up to date with the cookies the server set.
#pragma once

#include "text/types.h"

namespace morvane {

// Folds the returned cookies into the cookie text. Both arguments are the
// caller's variables and both are replaced: cookieText by the merged text
// (returned cookies first, in their order, then the old items whose name
// none of them bears; items ending in "=deleted" left out; identical items
// kept once; "; " between items and no other space), returnedCookies by
// itself without spaces. Returns a copy of the merged text.
// Example: "sid=1; lang=en" merged with "sid=2" gives "sid=2; lang=en".
Text MergeCookies(Text& cookieText, Text& returnedCookies);

// The part of an item before its first "=", trimmed; the whole item when it
// has no "=". CookieName(" ab =1") == "ab".
[[nodiscard]] Text CookieName(const Text& item);

// True when an item of the list bears exactly this name (case matters).
[[nodiscard]] bool ListHasCookie(const TextList& list, const Text& name);

// The pieces of text between separators, each kept once at its first place.
// JoinDistinct("a; b; a; c", "; ") == "a; b; c".
[[nodiscard]] Text JoinDistinct(const Text& text, const Text& separator);

// The 1-based index of the first item equal to text; -1 when none is.
[[nodiscard]] int IndexOfText(const TextList& list, const Text& text);

}  // namespace morvane
