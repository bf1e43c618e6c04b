#include "platform/win32/wide_text.h"

#include <string>

#include "platform/code_page.h"

namespace morvane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 code units are wchar_t on Windows");

std::wstring WideFromGbk(std::string_view gbk) {
  const int units = MultiByteToWide(kCodePageGbk, gbk, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  if (units > 0) {
    MultiByteToWide(kCodePageGbk, gbk, reinterpret_cast<char16_t*>(wide.data()), units);
  }
  return wide;
}

int GbkLength(std::wstring_view wide) {
  const std::u16string_view units(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
  return WideToMultiByte(kCodePageGbk, units, nullptr, 0);
}

Text GbkFromWide(std::wstring_view wide) {
  const std::u16string_view units(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
  const int bytes = WideToMultiByte(kCodePageGbk, units, nullptr, 0);
  std::string gbk(static_cast<std::size_t>(bytes), '\0');
  if (bytes > 0) WideToMultiByte(kCodePageGbk, units, gbk.data(), bytes);
  return Text(std::move(gbk));
}

}  // namespace morvane::win32
