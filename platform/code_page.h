// Code-page conversion, shaped like the two kernel32 calls the program
// uses. Each backend provides it: kernel32 on Windows, iconv elsewhere.
// For every character that code page 936 represents, every backend gives
// the same bytes. Others become "?" (Windows first tries a "best fit" for
// some, such as superscript two to "2"). Invalid UTF-8 becomes U+FFFD.
#pragma once

#include <string_view>

namespace morvane {

inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned kCodePageGbk = 936;

// Like MultiByteToWideChar(codePage, 0, ...): converts src to UTF-16 code
// units. With dst == nullptr (or dstLen 0), returns how many units the
// conversion needs; otherwise writes at most dstLen units and returns how
// many were written (0 when they do not fit).
int MultiByteToWide(unsigned codePage, std::string_view src, char16_t* dst, int dstLen);

// Like WideCharToMultiByte(codePage, 0, ..., nullptr, nullptr): characters
// the code page cannot represent become "?" (or, on Windows, a best-fit
// character where it has one). Same sizing rules.
int WideToMultiByte(unsigned codePage, std::u16string_view src, char* dst, int dstLen);

}  // namespace morvane
