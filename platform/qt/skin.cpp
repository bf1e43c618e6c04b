#include "platform/qt/skin.h"

#include <QColor>

#include "app/main_window.h"

namespace morvane {

namespace {

QString Css(QColor c) { return c.name(QColor::HexRgb); }

}  // namespace

QString SkinStyleSheet(int style) {
  if (!SkinStyleIsOn(style)) return {};
  const Rgb f = SkinFrameColor(style);
  const QColor frame(f.r, f.g, f.b);
  // The button face runs from a pale tint of the frame colour at the top to
  // a deeper one at the bottom; pressed, the gradient turns over.
  const QColor top = frame.lighter(160);
  const QColor bottom = frame.lighter(115);
  return QStringLiteral(
             // Edit boxes: one pixel of the frame colour, then one pixel of the
             // window colour, in place of their own border.
             "QLineEdit, QPlainTextEdit, QTextEdit, QComboBox, QAbstractSpinBox {"
             " border: 1px solid %1; padding: 1px; background: palette(base); }"
             "QPushButton {"
             " border: 1px solid %1; border-radius: 2px; padding: 1px 6px;"
             " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %2, stop:1 %3); }"
             "QPushButton:hover { border-color: %4; }"
             "QPushButton:pressed {"
             " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %3, stop:1 %2); }"
             "QPushButton:focus { border-color: %4; }"
             "QGroupBox { border: 1px solid %1; border-radius: 2px; margin-top: 6px; }"
             "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
             " left: 7px; padding: 0 2px; }")
      .arg(Css(frame), Css(top), Css(bottom), Css(frame.darker(125)));
}

}  // namespace morvane
