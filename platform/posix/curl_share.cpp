// One cookie jar for the whole process, like the platform client on
// Windows keeps one for all its handles.
#include "platform/posix/curl_share.h"

#include <mutex>

namespace morvane {

namespace {

std::mutex& LockFor(curl_lock_data data) {
  static std::mutex locks[CURL_LOCK_DATA_LAST];
  return locks[static_cast<int>(data) % CURL_LOCK_DATA_LAST];
}

void Lock(CURL*, curl_lock_data data, curl_lock_access, void*) { LockFor(data).lock(); }
void Unlock(CURL*, curl_lock_data data, void*) { LockFor(data).unlock(); }

}  // namespace

void EnsureCurlReady() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CURLSH* SharedCookieStore() {
  static CURLSH* const share = [] {
    EnsureCurlReady();
    CURLSH* s = curl_share_init();
    curl_share_setopt(s, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(s, CURLSHOPT_LOCKFUNC, &Lock);
    curl_share_setopt(s, CURLSHOPT_UNLOCKFUNC, &Unlock);
    return s;
  }();
  return share;
}

}  // namespace morvane
