#include "platform/qt/connect_program.h"

namespace morvane {

void ConnectProgram(QtWindow& window, Program& program) {
  window.SetEvents({
      [&program] { OnStartClicked(program); },
      [&program](Control timer) { OnTimerTick(program, timer); },
      [&program](Control label) { OnLabelPressed(program, label); },
  });
}

}  // namespace morvane
