// The application icon, embedded at build time in every size drawn.
#pragma once

#include <QIcon>

namespace morvane {

[[nodiscard]] QIcon AppIcon();

}  // namespace morvane
