// Address parts, written on the text primitives so that positions and case
// behave exactly as everywhere else in the program.
#include "web/url_parts.h"

#include "text/extract.h"
#include "text/primitives.h"

namespace morvane {

Text UrlHost(const Text& address, std::optional<bool> keepPort) {
  Text v = ToLower(address);
  // A "/" at the end lets the cut below find its right delimiter even when
  // nothing follows the host.
  if (!TextEquals(TextRight(v, 1), "/")) v = ConcatText(std::move(v), "/");
  if (TextEquals(TextLeft(v, 8), "https://")) {
    v = MiddleText(v, "https://", "/");
  } else {
    if (FindText(v, "http://") == -1) v = ConcatText(Text("http://"), v);
    v = MiddleText(v, "http://", "/");
  }
  if (keepPort.value_or(false)) return v;
  const int p = FindText(v, ":");
  return p == -1 ? v : TextLeft(v, p - 1);
}

int UrlPort(const Text& address) {
  const Text hp = UrlHost(address, true);
  const int p = FindTextReverse(hp, ":");
  if (p != -1) return ToInteger(TextRight(hp, TextLength(hp) - p));
  // The scheme test looks at the address itself, and at five letters only.
  return TextEquals(ToLower(TextLeft(address, 5)), "https") ? 443 : 80;
}

Text UrlPath(const Text& address) {
  const Text h = UrlHost(address);
  const int a = FindText(address, h, {}, true);
  const int b = FindText(address, "/", a, true);
  if (b <= 0) return "/";
  return TextRight(address, TextLength(address) - b + 1);
}

}  // namespace morvane
