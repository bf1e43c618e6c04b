// Code-page conversion on glibc's iconv, giving the bytes Windows gives.
//
// UTF-8 is decoded by hand: iconv stops at the first bad byte, while the
// program wants every bad sequence replaced by U+FFFD and the rest decoded,
// as Windows does. Each maximal ill-formed subpart (the Unicode practice)
// becomes one U+FFFD, so a bad byte never swallows the good ones after it.
//
// Code page 936 goes through iconv's "CP936", whose table equals Windows'
// for every character both represent (the euro sign at 0x80 included),
// completed by the private-use characters only Windows has
// (cp936_private_use.h). Where neither has a UTF-16 unit, "?" is written
// and the unit skipped, which is what Windows writes for characters it
// cannot represent; a surrogate pair gives two "?", as on Windows.
// Windows' best-fit mappings (U+00A2 to 0xA1 0xE9 and the like) are not
// reproduced: those characters become "?" here.
#include <iconv.h>

#include <bit>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <string>

#include "platform/code_page.h"
#include "platform/posix/cp936_private_use.h"

namespace morvane {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

const char* Utf16Name() {
  return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

// An open conversion descriptor, closed at scope exit. One per call keeps
// the conversion free of shared state; glibc caches the tables themselves.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  [[nodiscard]] bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts in[0..inSize) into out, calling onBad(out, at, left) at each
  // input position iconv refuses; onBad appends what stands for the bytes
  // there and returns how many of them to skip (at least one).
  template <typename OnBad>
  void Run(const char* in, std::size_t inSize, std::string& out, OnBad onBad) {
    char buffer[4096];
    auto* inPtr = const_cast<char*>(in);  // iconv's signature, never written
    std::size_t inLeft = inSize;
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      // EILSEQ (not representable / invalid) or EINVAL (cut short at the end).
      const std::size_t skip = onBad(out, inPtr, inLeft);
      const std::size_t step = skip < inLeft ? skip : inLeft;
      inPtr += step;
      inLeft -= step;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    }
  }

 private:
  iconv_t cd_;
};

void AppendUnit(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// UTF-8 to UTF-16 with U+FFFD for each maximal ill-formed subpart.
std::u16string DecodeUtf8(std::string_view src) {
  std::u16string out;
  out.reserve(src.size());
  std::size_t i = 0;
  while (i < src.size()) {
    const auto lead = static_cast<unsigned char>(src[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    // Length of the sequence and the range its second byte must lie in;
    // the narrow ranges rule out overlong forms, surrogates and values
    // above U+10FFFF.
    std::size_t length = 0;
    int low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    }
    if (length == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    char32_t cp = lead & (0x7F >> length);
    std::size_t k = 1;
    for (; k < length && i + k < src.size(); ++k) {
      const int b = static_cast<unsigned char>(src[i + k]);
      const int lo = k == 1 ? low : 0x80;
      const int hi = k == 1 ? high : 0xBF;
      if (b < lo || b > hi) break;
      cp = (cp << 6) | static_cast<char32_t>(b & 0x3F);
    }
    if (k == length) {
      AppendUnit(out, cp);
    } else {
      out.push_back(kReplacement);
    }
    i += k;
  }
  return out;
}

void AppendUnitBytes(std::string& out, char16_t unit) {
  out.append(reinterpret_cast<const char*>(&unit), sizeof unit);
}

// Code page 936 to UTF-16. A byte that starts no character of the code
// page becomes "?", as on Windows.
std::u16string DecodeCp936(std::string_view src) {
  std::u16string out;
  Converter converter(Utf16Name(), "CP936");
  if (!converter.ok()) return out;
  std::string bytes;
  converter.Run(src.data(), src.size(), bytes,
                [](std::string& sofar, const char* at, std::size_t left) -> std::size_t {
                  const auto lead = static_cast<unsigned char>(at[0]);
                  if (lead == 0xFF) {
                    AppendUnitBytes(sofar, cp936::kSingleByteFF);
                    return 1;
                  }
                  if (left >= 2) {
                    const auto code =
                        static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(at[1]));
                    if (const char16_t unit = cp936::CharacterOf(code)) {
                      AppendUnitBytes(sofar, unit);
                      return 2;
                    }
                  }
                  AppendUnitBytes(sofar, u'?');
                  return 1;
                });
  out.resize(bytes.size() / sizeof(char16_t));
  std::memcpy(out.data(), bytes.data(), out.size() * sizeof(char16_t));
  return out;
}

// The UTF-16 unit at `at`, in the machine's order.
char16_t UnitAt(const char* at) {
  char16_t unit;
  std::memcpy(&unit, at, sizeof unit);
  return unit;
}

template <typename Unit>
int Deliver(const std::basic_string<Unit>& converted, Unit* dst, int dstLen) {
  if (converted.size() > static_cast<std::size_t>(INT_MAX)) return 0;
  const int needed = static_cast<int>(converted.size());
  if (dst == nullptr || dstLen <= 0) return needed;
  if (needed > dstLen) return 0;  // Windows fails rather than cut the text
  std::memcpy(dst, converted.data(), converted.size() * sizeof(Unit));
  return needed;
}

}  // namespace

int MultiByteToWide(unsigned codePage, std::string_view src, char16_t* dst, int dstLen) {
  if (src.empty() || src.size() > static_cast<std::size_t>(INT_MAX)) return 0;
  if (codePage == kCodePageUtf8) return Deliver(DecodeUtf8(src), dst, dstLen);
  if (codePage == kCodePageGbk) return Deliver(DecodeCp936(src), dst, dstLen);
  return 0;
}

int WideToMultiByte(unsigned codePage, std::u16string_view src, char* dst, int dstLen) {
  if (src.empty() || src.size() > static_cast<std::size_t>(INT_MAX) / 2) return 0;
  std::string out;
  if (codePage == kCodePageUtf8) {
    Converter converter("UTF-8", Utf16Name());
    if (!converter.ok()) return 0;
    converter.Run(reinterpret_cast<const char*>(src.data()), src.size() * sizeof(char16_t), out,
                  [](std::string& sofar, const char*, std::size_t) {
                    sofar.append("\xEF\xBF\xBD");  // a lone surrogate: U+FFFD
                    return sizeof(char16_t);
                  });
  } else if (codePage == kCodePageGbk) {
    Converter converter("CP936", Utf16Name());
    if (!converter.ok()) return 0;
    converter.Run(reinterpret_cast<const char*>(src.data()), src.size() * sizeof(char16_t), out,
                  [](std::string& sofar, const char* at, std::size_t) {
                    const char16_t unit = UnitAt(at);
                    if (unit == cp936::kSingleByteFF) {
                      sofar.push_back('\xFF');
                    } else if (const std::uint16_t code = cp936::CodeOf(unit)) {
                      sofar.push_back(static_cast<char>(code >> 8));
                      sofar.push_back(static_cast<char>(code & 0xFF));
                    } else {
                      sofar.push_back('?');
                    }
                    return sizeof(char16_t);
                  });
  } else {
    return 0;
  }
  return Deliver(out, dst, dstLen);
}

}  // namespace morvane
