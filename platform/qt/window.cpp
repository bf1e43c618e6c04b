#include "platform/qt/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "app/main_window.h"
#include "app/texts.h"
#include "platform/qt/gbk_byte_limit.h"
#include "platform/qt/gbk_text.h"
#include "platform/qt/label.h"
#include "platform/qt/open_address.h"
#include "platform/qt/skin.h"

namespace morvane {

namespace {

std::size_t IndexOf(Control id) {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].id == id) return i;
  }
  return 0;
}

QString NameOf(const ControlRow& row) {
  return QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size()));
}

// The window itself: reports its closing and every change of the frame the
// window manager puts around it.
class MainWidget : public QWidget {
 public:
  std::function<void()> closing;
  std::function<void()> frameMayHaveChanged;

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (closing) closing();
    QWidget::closeEvent(event);
  }
  // A reparenting window manager moves the client inside its new frame
  // after the window is mapped; the frame is known from then on.
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    if (frameMayHaveChanged) frameMayHaveChanged();
  }
  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    if (frameMayHaveChanged) frameMayHaveChanged();
  }
};

// Esc without modifiers closes the window from whichever control has the
// focus. Watching the application's key presses, ahead of every control,
// keeps any one of them from taking the key for itself.
class EscapeCloses : public QObject {
 public:
  explicit EscapeCloses(QWidget* window) : window_(window) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto* target = qobject_cast<QWidget*>(watched);
    if (key->key() != Qt::Key_Escape || target == nullptr || target->window() != window_) {
      return false;
    }
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    window_->close();
    return true;
  }

 private:
  QWidget* window_;
};

// Receives the queued "deliver a waiting tick" event. The tick's work runs
// from here rather than from the timer's own signal: Qt does not fire a
// timer again while its signal is being handled, and a message box opened
// by input handled ahead of the tick must see every timer go on ticking.
class TickDelivery : public QObject {
 public:
  static QEvent::Type Type() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  explicit TickDelivery(std::function<void()> deliver) : deliver_(std::move(deliver)) {}

  bool event(QEvent* event) override {
    if (event->type() != Type()) return QObject::event(event);
    deliver_();
    return true;
  }

 private:
  std::function<void()> deliver_;
};

// The default GUI font at the pixel size the control table was laid out
// for; the face is the desktop's. Full hinting draws crisp strokes like the
// native GUI font and, unlike FreeType's auto-hinter, does not scan the
// whole CJK fallback font: about 2 MB less resident memory.
QFont GuiFont() {
  QFont font = QApplication::font();
  font.setPixelSize(12);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace

QtWindow::QtWindow() : outerHeight_(kCollapsedHeight) {
  auto window = std::make_unique<MainWidget>();
  window->closing = [this] { StopTimers(); };
  window->frameMayHaveChanged = [this] { FitToFrame(); };
  window_ = std::move(window);
  tickDelivery_ = std::make_unique<TickDelivery>([this] { DeliverWaitingTick(); });

  // Fixed border with the system menu, minimize and close, no maximize.
  window_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
  window_->setWindowTitle(ToQString(kWindowCaption));
  QPalette palette = window_->palette();
  palette.setColor(QPalette::Window, QColor(kBackground.r, kBackground.g, kBackground.b));
  window_->setPalette(palette);
  window_->setAutoFillBackground(true);
  window_->setFont(GuiFont());
  // Until the window manager tells its frame, the frame is taken as none.
  window_->setFixedSize(kWindowWidth, kCollapsedHeight);

  BuildControls();

  escapeFilter_ = std::make_unique<EscapeCloses>(window_.get());
  QCoreApplication::instance()->installEventFilter(escapeFilter_.get());
}

QtWindow::~QtWindow() {
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeEventFilter(escapeFilter_.get());
  }
  StopTimers();
}

void QtWindow::BuildControls() {
  // Parents first: the group box before the labels inside it.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < kCount; ++i) {
      const ControlRow& row = kControls[i];
      if ((row.parent == Control::kNone) != (pass == 0)) continue;
      QWidget* parent =
          row.parent == Control::kNone ? window_.get() : widgets_[IndexOf(row.parent)];
      const QString text = ToQString(row.initialText);
      QWidget* widget = nullptr;
      switch (row.kind) {
        case ControlKind::kLabel: {
          auto* label = new Label(row, parent);
          label->SetDisplayText(text);
          label->OnPressed([this, id = row.id] {
            if (events_.labelPressed) events_.labelPressed(id);
          });
          labelTexts_[i] = Text(row.initialText);
          widget = label;
          break;
        }
        case ControlKind::kEditBox:
          if (row.layout == TextLayout::kEditMultiLine) {
            auto* edit = new QPlainTextEdit(parent);
            // Enter inserts a line break; long lines wrap at the width;
            // the box scrolls with the caret and shows no scroll bars.
            edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setTabChangesFocus(true);
            edit->setFrameStyle(QFrame::Box | QFrame::Plain);
            edit->document()->setDocumentMargin(0);
            edit->setPlainText(text);
            widget = edit;
          } else {
            auto* edit = new QLineEdit(text, parent);
            if (row.maxBytes > 0) edit->setValidator(new GbkByteLimit(row.maxBytes, edit));
            widget = edit;
          }
          break;
        case ControlKind::kGroupBox:
          widget = new QGroupBox(text, parent);
          break;
        case ControlKind::kPushButton: {
          auto* button = new QPushButton(text, parent);
          // An ordinary push button: Enter never presses it.
          button->setAutoDefault(false);
          button->setDefault(false);
          QObject::connect(button, &QPushButton::clicked, [this] {
            if (events_.startClicked) events_.startClicked();
          });
          widget = button;
          break;
        }
        case ControlKind::kTimer: {
          auto* timer = new QTimer(window_.get());
          timer->setTimerType(Qt::PreciseTimer);
          QObject::connect(timer, &QTimer::timeout, [this, i] { TimerFellDue(i); });
          timers_[i] = timer;
          continue;
        }
      }
      widget->setObjectName(NameOf(row));
      widget->setGeometry(row.x, row.y, row.width, row.height);
      if (row.boldFont) {
        QFont font = GuiFont();
        font.setWeight(QFont::Bold);
        widget->setFont(font);
      }
      if (row.kind != ControlKind::kLabel) {
        widget->setFocusPolicy(row.tabStop ? Qt::StrongFocus : Qt::NoFocus);
      }
      widget->setHidden(!row.shownAtStart);
      widgets_[i] = widget;
    }
  }
  // Earlier rows lie above later ones among siblings: raise from the last.
  for (std::size_t i = kCount; i-- > 0;) {
    if (widgets_[i] != nullptr) widgets_[i]->raise();
  }
  for (std::size_t i = 1; i < kTabOrder.size(); ++i) {
    QWidget::setTabOrder(widget(kTabOrder[i - 1]), widget(kTabOrder[i]));
  }
  widget(kTabOrder[0])->setFocus();
}

void QtWindow::ShowCentred() {
  // The outer size is centred on the whole primary screen, work area or
  // not; a top-level's position is that of its frame.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  window_->move(screen.x() + (screen.width() - kWindowWidth) / 2,
                screen.y() + (screen.height() - outerHeight_) / 2);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

QWidget* QtWindow::widget() const { return window_.get(); }

QWidget* QtWindow::widget(Control control) const { return widgets_[IndexOf(control)]; }

bool QtWindow::TimerRunning(Control timer) const {
  const QTimer* t = timers_[IndexOf(timer)];
  return t != nullptr && t->isActive();
}

Text QtWindow::ReadText(Control control) {
  const std::size_t i = IndexOf(control);
  QWidget* w = widgets_[i];
  if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
    // The program reads line breaks as CR LF, as the native box holds them.
    QString text = edit->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return ToText(text);
  }
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return ToText(edit->text());
  if (auto* box = qobject_cast<QGroupBox*>(w)) return ToText(box->title());
  if (auto* button = qobject_cast<QPushButton*>(w)) return ToText(button->text());
  return labelTexts_[i];
}

void QtWindow::WriteText(Control control, const Text& text) {
  const std::size_t i = IndexOf(control);
  QWidget* w = widgets_[i];
  if (w == nullptr) return;
  QString shown = ToQString(text);
  if (auto* label = dynamic_cast<Label*>(w)) {
    // The bytes are kept as written, so reading them back gives them
    // exactly, whatever the conversion made of them on screen.
    labelTexts_[i] = text;
    label->SetDisplayText(shown);
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    edit->setPlainText(shown);
  } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
    line->setText(shown);
  } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
    box->setTitle(shown);
  } else if (auto* button = qobject_cast<QPushButton*>(w)) {
    button->setText(shown);
  }
}

void QtWindow::SetVisible(Control control, bool shown) {
  if (QWidget* w = widgets_[IndexOf(control)]) w->setVisible(shown);
}

void QtWindow::ShowMessage(const Text& text) {
  // No owner and application-modal: the main window takes no input while
  // the box is open, and its nested loop keeps the timers ticking.
  QMessageBox box(QMessageBox::NoIcon, ToQString(texts::kMessageCaption), ToQString(text),
                  QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  // A plain OK, as the native box has: no icon on the button either.
  box.button(QMessageBox::Ok)->setIcon(QIcon());
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void QtWindow::OpenAddress(const Text& address) { OpenInBrowser(ToQString(address)); }

void QtWindow::ApplyControlSkin(int style) {
  // On the application, so that every box created later is skinned too.
  qApp->setStyleSheet(SkinStyleSheet(style));
}

void QtWindow::RestartTimer(Control timer, int milliseconds) {
  QTimer* t = timers_[IndexOf(timer)];
  if (t == nullptr) return;
  t->stop();
  waitingTick_[IndexOf(timer)] = 0;
  if (milliseconds > 0) t->start(milliseconds);
}

void QtWindow::ApplyHeight(int pixels) {
  outerHeight_ = pixels;
  FitToFrame();
}

void QtWindow::FitToFrame() {
  if (const QWindow* handle = window_->windowHandle()) frame_ = handle->frameMargins();
  const int width = std::max(kWindowWidth - frame_.left() - frame_.right(), 0);
  const int height = std::max(outerHeight_ - frame_.top() - frame_.bottom(), 0);
  if (window_->size() != QSize(width, height)) window_->setFixedSize(width, height);
}

void QtWindow::StopTimers() {
  for (QTimer* t : timers_) {
    if (t != nullptr) t->stop();
  }
  waitingTick_.fill(0);
}

// A tick that falls due while a handler blocks the thread waits, once:
// Qt fires a late timer once, and a timer whose tick already waits adds
// none. Stopping or re-timing the timer drops it.
void QtWindow::TimerFellDue(std::size_t index) {
  if (waitingTick_[index] == 0) waitingTick_[index] = ++ticksFallen_;
  QueueDelivery();
}

void QtWindow::QueueDelivery() {
  if (deliveryQueued_) return;
  deliveryQueued_ = true;
  QCoreApplication::postEvent(tickDelivery_.get(), new QEvent(TickDelivery::Type()),
                              Qt::LowEventPriority);
}

void QtWindow::DeliverWaitingTick() {
  deliveryQueued_ = false;
  // A timer that fell due during a slow poll would otherwise run before a
  // key press or click made meanwhile, and Esc or Start would wait out one
  // more whole poll. So whatever input waits goes first. No timer fires in
  // here (a tick never runs inside another); a message box opened by that
  // input runs its own loop, where the ticks go on, the waiting one too.
  QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers,
                                  100);
  // The input may have closed the window or stopped or re-timed timers,
  // dropping their ticks; the earliest tick still waiting runs.
  std::size_t next = kCount;
  for (std::size_t i = 0; i < kCount; ++i) {
    if (waitingTick_[i] != 0 && (next == kCount || waitingTick_[i] < waitingTick_[next])) {
      next = i;
    }
  }
  if (next == kCount) return;
  waitingTick_[next] = 0;
  if (std::any_of(waitingTick_.begin(), waitingTick_.end(), [](auto w) { return w != 0; })) {
    QueueDelivery();
  }
  if (events_.timerTick) events_.timerTick(kControls[next].id);
}

}  // namespace morvane
