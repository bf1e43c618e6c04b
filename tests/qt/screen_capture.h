// What the X server shows: captures of real windows and pixel counts in
// them, for the tests that run on a display.
#pragma once

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QTest>
#include <QWidget>
#include <functional>

namespace morvane::qt_testing {

// The screen's pixels inside a rectangle of global coordinates.
inline QImage CaptureScreen(const QRect& area) {
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

// A window as it is on screen, frame included, once it has been painted.
inline QImage CaptureWindow(QWidget* window) {
  QTest::qWait(150);  // let the paint reach the server
  return CaptureScreen(window->frameGeometry());
}

// Where the client area starts in a capture of the whole window.
inline QPoint ClientOrigin(const QWidget* window) {
  return window->geometry().topLeft() - window->frameGeometry().topLeft();
}

inline int CountPixels(const QImage& image, const QRect& area,
                       const std::function<bool(QColor)>& wanted) {
  int n = 0;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (wanted(image.pixelColor(x, y))) ++n;
    }
  }
  return n;
}

// Captures go where the build asks (MORVANE_SCREENSHOT_DIR), as artefacts.
inline QString ScreenshotPath(const QString& name) {
  QString dir = qEnvironmentVariable("MORVANE_SCREENSHOT_DIR", QStringLiteral("."));
  QDir().mkpath(dir);
  return dir + QLatin1Char('/') + name;
}

}  // namespace morvane::qt_testing
