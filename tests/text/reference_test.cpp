// Compares the character-stepping routines with deliberately naive versions
// that compute character boundaries from position 1 on every call, over many
// short texts mixing ASCII and two-byte characters. Off-by-one faults in the
// stepping show up here.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "text/primitives.h"

namespace morvane {
namespace {

// Offsets at which a character starts, counted from offset `from`.
std::vector<bool> Boundaries(const std::string& s, std::size_t from) {
  std::vector<bool> at(s.size() + 1, false);
  std::size_t p = from;
  while (p < s.size()) {
    at[p] = true;
    p += static_cast<unsigned char>(s[p]) >= 0x80 ? 2 : 1;
  }
  return at;
}

bool SameAt(const std::string& s, std::size_t p, const std::string& n, bool fold) {
  if (p + n.size() > s.size()) return false;
  for (std::size_t k = 0; k < n.size(); ++k) {
    char a = s[p + k], b = n[k];
    if (fold) {
      if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
      if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
    }
    if (a != b) return false;
  }
  return true;
}

int NaiveFind(const std::string& s, const std::string& n, std::optional<int> start, bool fold) {
  const std::size_t b = start && *start > 1 ? static_cast<std::size_t>(*start - 1) : 0;
  if (b >= s.size()) return -1;
  if (n.empty()) return 1;
  const std::vector<bool> at = Boundaries(s, b);
  for (std::size_t p = b; p < s.size(); ++p) {
    if (at[p] && SameAt(s, p, n, fold)) return static_cast<int>(p) + 1;
  }
  return -1;
}

int NaiveFindReverse(const std::string& s, const std::string& n, std::optional<int> start) {
  std::size_t r = s.size();
  if (start) r = *start <= 1 ? 0 : std::min(static_cast<std::size_t>(*start - 1), s.size());
  if (r == 0) return -1;
  if (n.empty()) return 1;
  const std::vector<bool> at = Boundaries(s, 0);
  int found = -1;
  for (std::size_t p = 0; p + n.size() <= r; ++p) {
    if (at[p] && SameAt(s, p, n, false)) found = static_cast<int>(p) + 1;
  }
  return found;
}

std::string NaiveReplace(const std::string& s, const std::string& n, const std::string& r) {
  if (s.empty() || n.empty()) return s;
  const std::vector<bool> at = Boundaries(s, 0);
  std::string out;
  for (std::size_t p = 0; p < s.size();) {
    if (at[p] && SameAt(s, p, n, false)) {
      out += r;
      p += n.size();
    } else {
      out += s[p++];
    }
  }
  return out;
}

std::vector<std::string> NaiveSplit(const std::string& s, const std::string& sep) {
  std::vector<std::string> items;
  if (s.empty()) return items;
  if (sep.empty()) return {s};
  const std::vector<bool> at = Boundaries(s, 0);
  std::size_t q = 0;
  for (std::size_t p = 0; p + sep.size() <= s.size();) {
    if (at[p] && SameAt(s, p, sep, false)) {
      items.push_back(s.substr(q, p - q));
      p += sep.size();
      q = p;
    } else {
      ++p;
    }
  }
  if (q < s.size()) items.push_back(s.substr(q));
  return items;
}

std::string NaiveTrim(const std::string& s) {
  const std::vector<bool> at = Boundaries(s, 0);
  auto isSpaceAt = [&](std::size_t p) {
    if (s[p] == ' ') return std::size_t{1};
    if (p + 1 < s.size() && static_cast<unsigned char>(s[p]) == 0xA1 &&
        static_cast<unsigned char>(s[p + 1]) == 0xA1)
      return std::size_t{2};
    return std::size_t{0};
  };
  std::size_t b = 0;
  while (b < s.size() && at[b] && isSpaceAt(b)) b += isSpaceAt(b);
  std::size_t e = s.size();
  // Walk back over whole space characters that start on a boundary.
  for (bool moved = true; moved && e > b;) {
    moved = false;
    if (at[e - 1] && s[e - 1] == ' ') {
      --e;
      moved = true;
    } else if (e >= b + 2 && at[e - 2] && isSpaceAt(e - 2) == 2) {
      e -= 2;
      moved = true;
    }
  }
  return s.substr(b, e - b);
}

// Every text ends in whole characters, as the program's texts do.
std::string RandomText(std::mt19937& rng, int maxChars) {
  static const char* const kPieces[] = {"a",        "A",        " ",        "=",
                                        ";",        "\xa1\xa1", "\xb0\xa1", "\xa1\xb0",
                                        "\x81\x41", "\x81\x61", "\xa1",     "b"};
  std::string s;
  const int n = static_cast<int>(rng() % static_cast<unsigned>(maxChars + 1));
  for (int i = 0; i < n; ++i) {
    const std::string piece = kPieces[rng() % std::size(kPieces)];
    // A lone 0xA1 pairs with whatever comes next, as GBK does.
    s += piece == "\xa1" ? std::string("\xa1") + static_cast<char>(0x41 + rng() % 3) : piece;
  }
  return s;
}

std::vector<std::string> Items(const TextList& list) {
  std::vector<std::string> out;
  for (int i = 1; i <= ListCount(list); ++i) out.push_back(ListItem(list, i).str());
  return out;
}

TEST(Reference, CharacterSteppingAgreesWithNaiveVersions) {
  std::mt19937 rng(20261211);
  for (int round = 0; round < 20000; ++round) {
    const std::string s = RandomText(rng, 8);
    const std::string n = RandomText(rng, 2);
    const std::optional<int> start =
        rng() % 3 == 0 ? std::nullopt : std::optional<int>(static_cast<int>(rng() % 14) - 2);
    SCOPED_TRACE(testing::Message() << "round " << round);
    ASSERT_EQ(FindText(Text(s), Text(n), start), NaiveFind(s, n, start, false));
    ASSERT_EQ(FindText(Text(s), Text(n), start, true), NaiveFind(s, n, start, true));
    ASSERT_EQ(FindTextReverse(Text(s), Text(n), start), NaiveFindReverse(s, n, start));
    ASSERT_EQ(ReplaceText(Text(s), Text(n), Text("#"), true).str(), NaiveReplace(s, n, "#"));
    ASSERT_EQ(Items(SplitText(Text(s), Text(n))), NaiveSplit(s, n));
    ASSERT_EQ(TrimBoth(Text(s)).str(), NaiveTrim(s));
  }
}

}  // namespace
}  // namespace morvane
