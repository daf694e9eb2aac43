#!/usr/bin/env bash
# The main job: starts the demo host with the sample tips. On a display it opens there and waits
# for you; without one it runs under a private Xvfb, right-clicks the Customer entry, picks
# "What's This", and writes screenshots of the form and the shown tip.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bin="$build/demo"
[ -x "$bin/order_entry" ] || { echo "the demo host is not built ($bin/order_entry)"; exit 1; }
cd "$bin"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Right-click a control of the Order Entry form and choose \"What's This\"."
  exec ./order_entry demo-tips.tps /EditTips
fi

shots=$(pwd)/demo-shots
mkdir -p "$shots"
display=":$((200 + RANDOM % 300))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset -dpi 96 &
xvfb=$!
trap 'kill $host $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

./order_entry demo-tips.tps &
host=$!
form=""
for _ in $(seq 50); do form=$(xdotool search --name "^Order Entry$" 2>/dev/null | head -1) && [ -n "$form" ] && break; sleep 0.1; done
[ -n "$form" ] || { echo "the demo form did not appear"; exit 1; }
sleep 0.5
import -window "$form" "$shots/form.png"
# Right-click the Customer entry, then choose the first item of the popup menu.
xdotool mousemove --window "$form" 200 28 click 3
sleep 0.5
xdotool mousemove_relative 20 9 click 1
sleep 1.0
import -window root "$shots/form-with-tip.png"
echo "Screenshots: $shots/form.png and $shots/form-with-tip.png"
