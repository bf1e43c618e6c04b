#include "platform/qt/app_icon.h"

namespace morvane {

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    // Added by file name: each image is decoded only when a size is asked.
    icon.addFile(QStringLiteral(":/icon/morvane-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace morvane
