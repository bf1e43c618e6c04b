#!/usr/bin/env bash
# A short whole cycle of the unchanged Morvane.exe under Wine: inside a
# network namespace of its own, with a hosts file that sends the song-info
# host to 127.0.0.1 and a stand-in server on port 80, the probe types a
# share address, presses Start, and reads the song's name and play count
# back from the labels. The locale is C.UTF-8, where Wine's own ANSI code
# page is 1252, not 936: the Chinese song name must still arrive intact.
# Usage: song_cycle.sh MORVANE_EXE PROBE_EXE SERVER_PY
set -u
if [ "$(id -u)" != 0 ] || ! unshare --net --mount true 2>/dev/null; then
  echo "skipped: a network namespace needs root"
  exit 77
fi
export LC_ALL=C.UTF-8
# Wine's sockets are made by its server process, so the server must live
# inside the namespace too: a prefix of its own keeps the server that the
# other suites share (outside, where nothing listens on port 80) out of it.
export WINEPREFIX="${WINEPREFIX}-netns"
exec unshare --net --mount bash -s "$@" <<'INSIDE'
set -u
exe=$1 probe=$2 server=$3
ip link set lo up
hosts=$(mktemp)
printf '127.0.0.1 localhost\n127.0.0.1 node.kg.qq.com\n' >"$hosts"
mount --bind "$hosts" /etc/hosts
wineserver -k 2>/dev/null  # a server left behind by an earlier run
wineboot -i >/dev/null 2>&1 </dev/null
log=$(mktemp)
python3 "$server" 80 40 >"$log" &
server=$!
wine "$exe" &
app=$!
finish() {
  wine "$probe" close >/dev/null 2>&1
  # Bounded: a program that does not close is ended by its id.
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill "$app" 2>/dev/null
  wait "$app" 2>/dev/null
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  wineserver -k 2>/dev/null
  rm -f "$hosts"
}
fail() {
  echo "FAIL: $*"
  echo "requests seen:"; cat "$log"
  finish
  exit 1
}
wine "$probe" wait || fail "the window did not appear"
wine "$probe" set 编辑框1 'http://node.kg.qq.com/play?s=E2ESHAREID&g_f=personal' || fail "set address"
started=$(date +%s%N)
wine "$probe" click 按钮1 || fail "press Start"
# Wine can be slow when other suites share the machine: wait for the labels
# up to a limit instead of a fixed time.
name= count=
for _ in $(seq 60); do
  name=$(wine "$probe" read 透明标签12 | tr -d "\r")
  count=$(wine "$probe" read 透明标签11 | tr -d "\r")
  [ "$name" = "测试歌曲" ] && [ "$count" = "4321" ] && break
  sleep 0.5
done
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
[ "$name" = "测试歌曲" ] || fail "song name: '$name' after $elapsed_ms ms"
[ "$count" = "4321" ] || fail "play count: '$count' after $elapsed_ms ms"
# Let the burst run for a while before counting its polls.
while [ $((($(date +%s%N) - started) / 1000000)) -lt 3000 ]; do sleep 0.2; done
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
polls=$(grep -c 'GET /fcgi-bin/kg_ugc_getdetail?rnd=&g_tk=&callback=jsopgetsonginfo&shareid=E2ESHAREID HTTP/1.1' "$log")
# The burst polls every 500 ms, never faster.
[ "$polls" -ge 2 ] && [ "$polls" -le $((elapsed_ms / 500 + 2)) ] || fail "$polls polls in $elapsed_ms ms"
finish
echo "song name '$name', play count '$count', $polls polls in $elapsed_ms ms"
INSIDE
