// The control skin as a Qt style sheet. Set on the application, it reaches
// every push button, group box, edit box, combo box and spin box the
// program has and every one it creates later (the OK button of each message
// box included), and never a label.
#pragma once

#include <QString>

namespace morvane {

// The style sheet for a skin style: 1, 2 and 3 give their scheme; any
// other style gives the empty sheet, which switches the skin off.
[[nodiscard]] QString SkinStyleSheet(int style);

}  // namespace morvane
