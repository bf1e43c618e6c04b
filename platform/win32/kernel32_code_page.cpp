// Code-page conversion on kernel32: the two calls, flags 0, as the song-info
// decoder makes them. Windows replaces invalid UTF-8 with U+FFFD and
// characters that code page 936 lacks with "?" (or a best-fit character).
#include <windows.h>

#include <climits>

#include "platform/code_page.h"

namespace morvane {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 code units are WCHARs on Windows");

int MultiByteToWide(unsigned codePage, std::string_view src, char16_t* dst, int dstLen) {
  // kernel32 counts in int; a longer input cannot be converted in one call.
  if (src.empty() || src.size() > static_cast<std::size_t>(INT_MAX)) return 0;
  if (dst == nullptr) dstLen = 0;
  return MultiByteToWideChar(codePage, 0, src.data(), static_cast<int>(src.size()),
                             reinterpret_cast<wchar_t*>(dst), dstLen);
}

int WideToMultiByte(unsigned codePage, std::u16string_view src, char* dst, int dstLen) {
  if (src.empty() || src.size() > static_cast<std::size_t>(INT_MAX)) return 0;
  if (dst == nullptr) dstLen = 0;
  return WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t*>(src.data()),
                             static_cast<int>(src.size()), dst, dstLen, nullptr, nullptr);
}

}  // namespace morvane
