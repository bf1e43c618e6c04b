#!/usr/bin/env bash
# Runs the unchanged program through one short boost cycle against a
# stand-in for the song-info host. Meant to run inside fresh user, network
# and mount namespaces (unshare --user --map-root-user --net --mount), so
# that the host name and port 80 are ours alone and nothing leaves the
# machine. Drives the window with xdotool on $DISPLAY.
#
# Usage: run_cycle.sh MORVANE_BINARY OUTDIR
# Writes OUTDIR/requests.log (from the stand-in), OUTDIR/start (the time of
# the Start click), and OUTDIR/before.png and OUTDIR/steady.png (the
# window's client area before Start and in the steady phase).
set -euo pipefail
bin=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out"

ip link set lo up
printf '127.0.0.1 localhost node.kg.qq.com\n::1 localhost\n' >"$out/hosts"
mount --bind "$out/hosts" /etc/hosts
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY

server= prog=
cleanup() {
  [ -n "$prog" ] && kill "$prog" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
}
trap cleanup EXIT

python3 "$here/song_info_stand_in.py" "$out" &
server=$!
for _ in $(seq 50); do [ -e "$out/ready" ] && break; sleep 0.1; done
[ -e "$out/ready" ] || { echo "the stand-in did not start"; exit 1; }

"$bin" 2>"$out/morvane.log" &
prog=$!
wid=$(timeout 10 xdotool search --sync --onlyvisible --pid "$prog" --name '^Morvane  ' | head -n 1)
[ -n "$wid" ] || { echo "no window appeared"; exit 1; }
# The window's client area as the X server shows it.
capture() {
  local geometry
  geometry=$(xwininfo -id "$wid" | awk '/Width:/{w=$2} /Height:/{h=$2}
    /Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4}
    END{printf "%dx%d+%d+%d", w, h, x, y}')
  import -window root -crop "$geometry" "$1"
}
sleep 0.3

# Places in the client area, from the control table: the pause box, the
# address box and Start.
xdotool mousemove --window "$wid" 315 71 click 1
xdotool key ctrl+a
xdotool type --delay 20 '.05'   # 0.05 minutes: a pause of 3 seconds
xdotool mousemove --window "$wid" 200 36 click 1
xdotool type --delay 10 'http://kg.qq.com/play.html?s=abcdefghij'
sleep 0.3
capture "$out/before.png"

date +%s.%N >"$out/start"
xdotool mousemove --window "$wid" 412 72 click 1
sleep 13.5   # 7 s of burst, 3 s of pause, then the steady polls
capture "$out/steady.png"

# Esc ends the program, in the middle of steady polling.
xdotool key Escape
for _ in $(seq 30); do kill -0 "$prog" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$prog" 2>/dev/null; then echo "Esc did not end the program"; exit 1; fi
wait "$prog" || { echo "the program exited with $?"; exit 1; }
prog=
echo done >"$out/finished"
