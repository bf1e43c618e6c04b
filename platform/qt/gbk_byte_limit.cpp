#include "platform/qt/gbk_byte_limit.h"

#include "platform/qt/gbk_text.h"

namespace morvane {

QValidator::State GbkByteLimit::validate(QString& input, int& pos) const {
  // The box calls this after each edit with the caret just after what was
  // typed or pasted; dropping whole characters before the caret trims the
  // new text from its end, which is what the native limit keeps.
  while (GbkByteCount(input) > maxBytes_) {
    if (pos <= 0) return Invalid;  // nothing new to trim: refuse the edit
    int drop = 1;
    if (pos >= 2 && input.at(pos - 1).isLowSurrogate() && input.at(pos - 2).isHighSurrogate()) {
      drop = 2;
    }
    input.remove(pos - drop, drop);
    pos -= drop;
  }
  return Acceptable;
}

}  // namespace morvane
