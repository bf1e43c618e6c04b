#!/usr/bin/env bash
# Screenshots of Morvane.exe under Wine for the README: collapsed, expanded
# and the message box that Start shows without an address. Wine's virtual
# desktop draws Windows frames; the clicks are real X clicks on the labels
# and the button. Run with DISPLAY set to an X server with a free screen
# (an Xvfb), as the lead's test script does.
# Usage: take_screenshots.sh MORVANE_EXE OUTDIR
set -eu
exe=$1
out=$2
mkdir -p "$out"
# A Chinese Windows: the system fonts link to a CJK face as they do there.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
size=560x600
LC_ALL=zh_CN.UTF-8 wine explorer /desktop=morvane-shots,$size "$exe" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT

# The window's place on the desktop, as X reports it.
geometry=
for _ in $(seq 100); do
  geometry=$(xwininfo -root -tree | sed -n 's/.*"Morvane  [^"]*": ("morvane.exe" "morvane.exe")  \([0-9x+]*\).*/\1/p' | head -1)
  [ -n "$geometry" ] && break
  sleep 0.2
done
[ -n "$geometry" ] || { echo "the window did not appear"; exit 1; }
left=$(echo "$geometry" | cut -d+ -f2)
top=$(echo "$geometry" | cut -d+ -f3)
sleep 1
shot() { import -window root -crop "$size+0+0" "$out/$1"; }
# Client area origin: the fixed frame and the caption bar.
cx=$((left + 3))
cy=$((top + 3 + 19))

shot windows-collapsed.png
xdotool mousemove $((cx + 60)) $((cy + 76)) click 1   # 透明标签8
sleep 1
shot windows-expanded.png
xdotool mousemove $((cx + 60)) $((cy + 76)) click 1   # collapse again
xdotool mousemove $((cx + 412)) $((cy + 72)) click 1  # 按钮1 with no address
sleep 1
shot windows-message.png
# OK on the box, then Esc: the program ends by itself.
xdotool key Return 2>/dev/null || true
sleep 0.5
xdotool key Escape 2>/dev/null || true
for _ in $(seq 50); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
