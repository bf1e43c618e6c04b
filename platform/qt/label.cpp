#include "platform/qt/label.h"

#include <QMouseEvent>
#include <QPainter>

namespace morvane {

namespace {

int DrawFlags(TextLayout layout) {
  if (layout == TextLayout::kWrapFromTop) return Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  return Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
}

}  // namespace

Label::Label(const ControlRow& row, QWidget* parent)
    : QWidget(parent), flags_(DrawFlags(row.layout)) {
  setObjectName(QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())));
  setGeometry(row.x, row.y, row.width, row.height);
  setFocusPolicy(Qt::NoFocus);
  // Transparent: nothing is filled, so the parent's background (and the
  // group box's frame) shows through between the letters.
  setAutoFillBackground(false);
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, QColor(row.textColor.r, row.textColor.g, row.textColor.b));
  setPalette(palette);
  if (row.handCursor) setCursor(Qt::PointingHandCursor);
}

void Label::SetDisplayText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  update();  // not opaque: the parent repaints what lies beneath too
}

void Label::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.setFont(font());
  // CR LF ends a line of a wrapping label; a one-line label draws every
  // line break as a space (Qt::TextSingleLine).
  QString shown = text_;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  painter.drawText(rect(), flags_, shown);
}

void Label::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && pressed_) {
    event->accept();
    pressed_();
    return;
  }
  QWidget::mousePressEvent(event);
}

}  // namespace morvane
