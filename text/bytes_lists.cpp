// Byte sequences and text lists.
#include <cstdio>
#include <cstdlib>

#include "text/primitives.h"

namespace morvane {

int BytesLength(const Bytes& b) { return b.size(); }

bool BytesEqual(const Bytes& a, const Bytes& b) { return a.view() == b.view(); }

Bytes BytesLeft(const Bytes& b, int n) {
  if (n <= 0) return {};
  return Bytes(b.view().substr(0, static_cast<std::size_t>(n)));
}

Bytes BlankBytes(int n) {
  if (n <= 0) return {};
  return Bytes(std::string(static_cast<std::size_t>(n), '\0'));
}

Bytes TextToBytes(const Text& text) { return Bytes(text.view()); }

Text BytesToText(const Bytes& b) { return Text(b.view()); }

int ListCount(const TextList& list) { return list.count(); }

const Text& ListItem(const TextList& list, int i) {
  if (i < 1 || i > list.count()) {
    // No caller asks for such an index; reaching this is a bug, not input.
    std::fprintf(stderr, "morvane: list index %d outside 1..%d\n", i, list.count());
    std::abort();
  }
  return list.at0(static_cast<std::size_t>(i - 1));
}

void ListAppend(TextList& list, const Text& text) { list.push_back(text); }

}  // namespace morvane
