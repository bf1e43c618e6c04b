#include "platform/qt/label.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <vector>

namespace morvane {

namespace {

// Lays out text that breaks at each line break and wherever a line is
// wider than `width`, and draws it from the top. The line pitch is the
// font's, tightened (down to the pixel size) when the lines would not fit
// in `height` otherwise: the table's sizes were drawn for a GUI font with
// less leading than most desktop fonts have.
void DrawWrapped(QPainter& painter, const QString& text, const QFont& font, int width, int height) {
  const QFontMetrics metrics(font);
  std::vector<std::unique_ptr<QTextLayout>> paragraphs;
  int lines = 0;
  for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
    auto layout = std::make_unique<QTextLayout>(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
      line.setLineWidth(width);
      ++lines;
    }
    layout->endLayout();
    paragraphs.push_back(std::move(layout));
  }
  int pitch = metrics.lineSpacing();
  if (lines > 0 && lines * pitch > height) {
    pitch = std::max(height / lines, font.pixelSize() > 0 ? font.pixelSize() : metrics.ascent());
  }
  int top = 0;
  for (const auto& layout : paragraphs) {
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      // Each line keeps its own baseline offset within the pitch.
      line.draw(&painter, QPointF(0, top - line.y()));
      top += pitch;
    }
  }
}

}  // namespace

Label::Label(const ControlRow& row, QWidget* parent)
    : QWidget(parent), wraps_(row.layout == TextLayout::kWrapFromTop) {
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
  QString shown = text_;
  if (wraps_) {
    // CR LF ends a line; a lone CR or LF does too.
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    DrawWrapped(painter, shown, font(), width(), height());
  } else {
    // One line, vertically centred; line breaks are drawn as spaces.
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
  }
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
