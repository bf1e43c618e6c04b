// Morvane on Linux: one Qt window, one thread, the libcurl client behind
// the song-info query.
#include <QApplication>
#include <QFont>
#include <cstdio>
#include <cstdlib>

#include "app/program.h"
#include "platform/posix/curl_client.h"
#include "platform/qt/app_icon.h"
#include "platform/qt/connect_program.h"
#include "platform/qt/window.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    // Qt would abort with a core dump; say it in one line instead.
    std::fputs(
        "morvane: no display to open the window on (run it on a desktop, or under "
        "xvfb-run)\n",
        stderr);
    return 1;
  }
  // A widgets window needs no GL; not loading the GLX integration saves
  // most of the start-up time and half the memory.
  if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) {
    qputenv("QT_XCB_GL_INTEGRATION", "none");
  }
  QApplication app(argc, argv);
  // The message box's font too: crisp, and without FreeType's auto-hinter
  // scanning the whole CJK font into memory.
  QFont font = QApplication::font();
  font.setHintingPreference(QFont::PreferFullHinting);
  QApplication::setFont(font);
  QApplication::setWindowIcon(morvane::AppIcon());
  QApplication::setDesktopFileName(QStringLiteral("morvane"));

  morvane::CurlHttpClient http;
  morvane::QtWindow window;
  morvane::Program program{window, http, {}};
  morvane::ConnectProgram(window, program);

  morvane::OnCreated(program);
  window.ShowCentred();
  const int result = QApplication::exec();
  morvane::OnExit(program);
  return result;
}
