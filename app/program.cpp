// Start-up, the window's own behaviours (instructions toggle, author link)
// and exit; the events are routed to the boost cycle from here.
#include "app/program.h"

#include "app/boost_cycle.h"
#include "app/main_window.h"
#include "text/primitives.h"

namespace morvane {

namespace {

// The label's own text is the toggle's only state.
void ToggleInstructions(Window& window) {
  if (TextEquals(window.ReadText(Control::透明标签8), texts::kInstructionsClosed)) {
    window.SetHeight(kExpandedHeight);
    window.WriteText(Control::透明标签8, texts::kInstructionsOpen);
    return;
  }
  if (TextEquals(window.ReadText(Control::透明标签8), texts::kInstructionsOpen)) {
    window.SetHeight(kCollapsedHeight);
    window.WriteText(Control::透明标签8, texts::kInstructionsClosed);
  }
}

}  // namespace

void OnCreated(Program& program) { program.window.ApplyControlSkin(kSkinStyle); }

void OnStartClicked(Program& program) { StartBoost(program); }

void OnTimerTick(Program& program, Control timer) {
  switch (timer) {
    case Control::时钟1:
      PollTick(program);
      break;
    case Control::时钟3:
      BurstEnd(program);
      break;
    case Control::时钟2:
      CountdownTick(program);
      break;
    default:
      break;
  }
}

void OnLabelPressed(Program& program, Control label) {
  if (label == Control::透明标签8) {
    ToggleInstructions(program.window);
  } else if (label == Control::透明标签10) {
    // One press, one browser tab.
    program.window.OpenAddress(kAuthorSiteAddress);
  }
}

void OnExit(Program& program) {
  program.state.shareId = Text();
  program.state.lastSongRecord = Text();
}

}  // namespace morvane
