// Texts cross into the wide Win32 functions here. The program keeps every
// text in GBK; the window is created with the W functions and each text is
// converted with code page 936 explicitly, so the Chinese texts show the
// same on a Windows whose own code page is not 936.
#pragma once

#include <string>
#include <string_view>

#include "text/types.h"

namespace morvane::win32 {

// GBK bytes to UTF-16. Bytes that are no GBK character follow kernel32's
// rules for code page 936.
[[nodiscard]] std::wstring WideFromGbk(std::string_view gbk);
// UTF-16 to GBK; characters code page 936 lacks become "?".
[[nodiscard]] Text GbkFromWide(std::wstring_view wide);
// How many bytes the text takes in GBK: what an edit box's byte limit counts.
[[nodiscard]] int GbkLength(std::wstring_view wide);

}  // namespace morvane::win32
