#include "platform/win32/shell_address.h"

#include "platform/win32/wide_text.h"

namespace morvane::win32 {

std::wstring ShellOpenTarget(const Text& address) {
  std::wstring target = WideFromGbk(address.view());
  if (target.empty() || target.find(L"://") != std::wstring::npos) return target;
  return L"http://" + target;
}

}  // namespace morvane::win32
