// What the shell is asked to open for an address.
#pragma once

#include <string>

#include "text/types.h"

namespace morvane::win32 {

// The address as the shell's "open" verb needs it. A bare host name
// ("example.org") would be looked up as a file and fail, so an address
// without a scheme gets "http://" in front; one with a scheme is kept.
[[nodiscard]] std::wstring ShellOpenTarget(const Text& address);

}  // namespace morvane::win32
