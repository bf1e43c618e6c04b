#include "platform/qt/open_address.h"

#include <QDesktopServices>

namespace morvane {

std::optional<QUrl> BrowserUrl(const QString& address) {
  const QString trimmed = address.trimmed();
  const QString full =
      trimmed.contains(QLatin1String("://")) ? trimmed : QLatin1String("http://") + trimmed;
  QUrl url(full, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() ||
      (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
    return std::nullopt;
  }
  return url;
}

void OpenInBrowser(const QString& address) {
  // QDesktopServices starts the desktop's opener (xdg-open or the portal)
  // detached, with the address as one argument.
  if (const std::optional<QUrl> url = BrowserUrl(address)) QDesktopServices::openUrl(*url);
}

}  // namespace morvane
