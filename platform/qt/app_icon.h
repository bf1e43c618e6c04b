// The application icon for the window, embedded at build time.
#pragma once

#include <QIcon>

namespace morvane {

[[nodiscard]] QIcon AppIcon();

}  // namespace morvane
