// A shown main window wired to the program, with a scripted HTTP client
// whose every answer is one small song record.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <ostream>
#include <string>

#include "app/program.h"
#include "platform/qt/connect_program.h"
#include "platform/qt/window.h"
#include "tests/app/fake_http_client.h"

namespace morvane {

// Failures show the GBK bytes of a text, as hex escapes.
inline void PrintTo(const Text& text, std::ostream* out) {
  *out << '"';
  for (unsigned char c : text.view()) {
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
      *out << c;
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      *out << "\\x" << kHex[c >> 4] << kHex[c & 15];
    }
  }
  *out << '"';
}

}  // namespace morvane

namespace morvane::qt_testing {

// The song record the scripted client answers with, as the service sends
// it: JSONP around a JSON object, in UTF-8.
inline const std::string kSongRecord =
    "jsopgetsonginfo({\"code\":0,\"data\":{\"song_name\":\"\xe6\xb5\x8b\xe8\xaf\x95 Song\","
    "\"play_num\":1234,\"other\":1}})";
inline constexpr char kShareAddress[] = "http://kg.qq.com/play.html?s=abcdefghij";

struct ShownWindow {
  ShownWindow() {
    http.answer = [](const testing::FakeExchange&) { return testing::FakeAnswer{kSongRecord}; };
    ConnectProgram(window, program);
    OnCreated(program);
    window.ShowCentred();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.widget()));
  }
  ~ShownWindow() {
    window.widget()->close();
    qApp->setStyleSheet({});
  }

  template <typename W = QWidget>
  W* Widget(Control control) {
    return qobject_cast<W*>(window.widget(control));
  }

  // Replaces the text of an edit box the way a user would.
  void Type(Control box, const QString& text) {
    QWidget* w = window.widget(box);
    w->setFocus();
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    TypeKeys(w, text);
  }

  // Types each character as its own key press carrying the character, as
  // an input method delivers Chinese text (QTest::keyClicks knows ASCII only).
  static void TypeKeys(QWidget* w, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
      QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text.mid(i, n), Qt::NoModifier);
      i += n - 1;
    }
  }

  [[nodiscard]] bool AnyTimerRunning() const {
    return window.TimerRunning(Control::时钟1) || window.TimerRunning(Control::时钟2) ||
           window.TimerRunning(Control::时钟3);
  }

  testing::FakeHttpClient http;
  QtWindow window;
  Program program{window, http, {}};
};

struct WindowFixture : ::testing::Test, ShownWindow {};

}  // namespace morvane::qt_testing
