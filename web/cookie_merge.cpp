// Cookie merging on the text and list primitives.
#include "web/cookie_merge.h"

#include "text/primitives.h"

namespace morvane {

Text MergeCookies(Text& cookieText, Text& returnedCookies) {
  cookieText = RemoveSpaces(cookieText);
  returnedCookies = RemoveSpaces(returnedCookies);
  const TextList oldItems = SplitText(cookieText, ";");
  TextList merged = SplitText(returnedCookies, ";");

  // Checked against the merged list as it grows, so of several old items of
  // one name only the first survives.
  const int n = ListCount(oldItems);
  for (int i = 1; i <= n; ++i) {
    const Text& item = ListItem(oldItems, i);
    if (!ListHasCookie(merged, CookieName(item))) ListAppend(merged, item);
  }

  cookieText = Text();
  const int m = ListCount(merged);
  for (int j = 1; j <= m; ++j) {
    const Text& item = ListItem(merged, j);
    if (!TextEquals(TextRight(item, 8), "=deleted")) {
      cookieText = ConcatText(std::move(cookieText), item, "; ");
    }
  }
  cookieText = TextLeft(cookieText, TextLength(cookieText) - 2);
  cookieText = JoinDistinct(cookieText, "; ");
  return cookieText;
}

Text CookieName(const Text& item) {
  const int p = FindText(item, "=");
  return TrimBoth(p != -1 ? TextLeft(item, p - 1) : item);
}

bool ListHasCookie(const TextList& list, const Text& name) {
  const int n = ListCount(list);
  for (int i = 1; i <= n; ++i) {
    if (TextEquals(CookieName(ListItem(list, i)), name)) return true;
  }
  return false;
}

Text JoinDistinct(const Text& text, const Text& separator) {
  const TextList pieces = SplitText(text, separator);
  TextList seen;
  Text result;
  const int n = ListCount(pieces);
  for (int i = 1; i <= n; ++i) {
    const Text& piece = ListItem(pieces, i);
    if (IndexOfText(seen, piece) == -1) {
      ListAppend(seen, piece);
      result = ConcatText(std::move(result), piece, separator);
    }
  }
  return TextLeft(result, TextLength(result) - TextLength(separator));
}

int IndexOfText(const TextList& list, const Text& text) {
  const int n = ListCount(list);
  for (int i = 1; i <= n; ++i) {
    if (TextEquals(ListItem(list, i), text)) return i;
  }
  return -1;
}

}  // namespace morvane
