// The program's behaviour: the handlers of the window's events. A window
// backend creates the window, then calls these on its one UI thread.
#pragma once

#include "app/controls.h"
#include "app/window.h"
#include "text/types.h"
#include "web/http_client.h"

namespace morvane {

// Program-wide values, empty at start and released at exit.
struct ProgramState {
  Text shareId;         // the share id of the latest poll
  Text lastSongRecord;  // the decoded text of the latest response
};

// What every handler receives: the window, the HTTP client behind the
// song-info query, and the program-wide values.
struct Program {
  Window& window;
  HttpClient& http;
  ProgramState state;
};

// Created: all controls exist, the window is not shown yet.
void OnCreated(Program& program);
// 按钮1 clicked.
void OnStartClicked(Program& program);
// A timer's tick: 时钟1 polls, 时钟3 ends the burst, 时钟2 counts down.
void OnTimerTick(Program& program, Control timer);
// Left button pressed on a label: 透明标签8 toggles the instructions,
// 透明标签10 opens the author's site. Other labels do nothing.
void OnLabelPressed(Program& program, Control label);
// The message loop has ended: release the program-wide values.
void OnExit(Program& program);

}  // namespace morvane
