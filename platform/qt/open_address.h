// The author link's address as the desktop's browser receives it.
#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace morvane {

// The web address to open for a text: a bare host (no "://") becomes an
// http address; only http and https addresses with a host are opened, so
// the link can never start a local file or another program.
// Example: "morvane.example" gives http://morvane.example.
[[nodiscard]] std::optional<QUrl> BrowserUrl(const QString& address);

// Hands the address to the desktop's default browser without waiting for
// it and without a shell; whether a browser came up is not examined.
void OpenInBrowser(const QString& address);

}  // namespace morvane
