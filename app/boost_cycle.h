// The boost cycle's handlers: a burst of polls every 500 ms for 7 s, a
// pause of the minutes in 编辑框2 counted down in 透明标签2, then a poll every
// second until the window closes.
#pragma once

#include "app/program.h"

namespace morvane {

// 按钮1: checks the share address, then starts (or restarts) the burst.
void StartBoost(Program& program);
// 时钟1: shows the status labels and runs one song-info query.
void PollTick(Program& program);
// 时钟3: the burst is over; the countdown starts from the pause in seconds.
void BurstEnd(Program& program);
// 时钟2: one second less; at zero or below, steady polling begins.
void CountdownTick(Program& program);

}  // namespace morvane
