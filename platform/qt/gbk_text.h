// The window boundary between the program's GBK texts and Qt's UTF-16
// strings. Every text that crosses into or out of a widget goes through
// these two, on the code-page layer the rest of the program uses, so the
// window shows exactly the bytes the program holds.
#pragma once

#include <QString>
#include <QStringView>

#include "text/types.h"

namespace morvane {

// GBK bytes to a Qt string. Example: "\xd6\xd0" gives "中".
[[nodiscard]] QString ToQString(const Text& text);

// A Qt string to GBK bytes; characters GBK lacks become "?".
// Example: "中?" from "中😀" (a surrogate pair gives two "?").
[[nodiscard]] Text ToText(QStringView text);

// How many bytes a string takes in GBK, counted as ToText counts them.
[[nodiscard]] int GbkByteCount(QStringView text);

}  // namespace morvane
