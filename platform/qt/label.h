// A label that draws only its text over whatever lies beneath it: no
// background, no frame, no focus. A left press (on the way down, not on
// release) is reported to the window.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>

#include "app/controls.h"

namespace morvane {

class Label : public QWidget {
 public:
  Label(const ControlRow& row, QWidget* parent);

  // The text as drawn; line breaks are CR LF, as the program writes them.
  void SetDisplayText(const QString& text);
  [[nodiscard]] const QString& DisplayText() const { return text_; }
  void OnPressed(std::function<void()> handler) { pressed_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString text_;
  bool wraps_;
  std::function<void()> pressed_;
};

}  // namespace morvane
