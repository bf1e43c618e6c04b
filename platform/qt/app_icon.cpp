#include "platform/qt/app_icon.h"

namespace morvane {

QIcon AppIcon() {
  QIcon icon;
  // Window managers show the window's icon at 64 pixels at most; the
  // larger sizes are installed for launchers and would only sit in memory.
  for (int size : {16, 32, 48, 64}) {
    // Added by file name: each image is decoded only when a size is asked.
    icon.addFile(QStringLiteral(":/icon/morvane-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace morvane
