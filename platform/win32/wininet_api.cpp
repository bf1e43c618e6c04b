#include "platform/win32/wininet_api.h"

#include <string>

namespace morvane {

namespace {

std::wstring SystemDirectoryPath(const char* fileName) {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(directory, length);
  path += L'\\';
  for (const char* c = fileName; *c != '\0'; ++c) path += static_cast<wchar_t>(*c);
  return path;
}

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function) {
  // Through void(*)(): the one function pointer type GCC lets stand for any.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  return function != nullptr;
}

}  // namespace

std::shared_ptr<const WinInetApi> LoadWinInetApi(const char* dllName) {
  const std::wstring path = SystemDirectoryPath(dllName);
  if (path.empty()) return nullptr;
  const HMODULE module = LoadLibraryW(path.c_str());
  if (module == nullptr) return nullptr;
  auto api = std::make_shared<WinInetApi>();
  bool complete = true;
#define MORVANE_WININET_RESOLVE(name) complete = Resolve(module, #name, api->name) && complete;
  MORVANE_WININET_FUNCTIONS(MORVANE_WININET_RESOLVE)
#undef MORVANE_WININET_RESOLVE
  if (!complete) return nullptr;
  return api;
}

}  // namespace morvane
