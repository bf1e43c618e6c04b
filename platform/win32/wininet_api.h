// The WinINet functions the HTTP client calls, resolved by name at run time
// so that the program starts even where wininet.dll is missing or damaged;
// a request then fails like any other failed request. Internal to the
// WinINet client.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

namespace morvane {

#define MORVANE_WININET_FUNCTIONS(X) \
  X(InternetOpenA)                   \
  X(InternetConnectA)                \
  X(HttpOpenRequestA)                \
  X(HttpSendRequestA)                \
  X(InternetReadFile)                \
  X(HttpQueryInfoA)                  \
  X(InternetSetOptionA)              \
  X(InternetCloseHandle)

struct WinInetApi {
#define MORVANE_WININET_POINTER(name) decltype(&::name) name = nullptr;
  MORVANE_WININET_FUNCTIONS(MORVANE_WININET_POINTER)
#undef MORVANE_WININET_POINTER
};

// Every function of the list from dllName, a file of the system directory
// (never the program's own folder or the current one), or nullptr when the
// DLL or any one function is missing. The DLL stays loaded for the life of
// the process: WinINet runs threads of its own, and a call abandoned at its
// time limit may still be inside it.
[[nodiscard]] std::shared_ptr<const WinInetApi> LoadWinInetApi(const char* dllName);

}  // namespace morvane
