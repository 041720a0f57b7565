#!/usr/bin/env bash
# Re-makes docs/main-window.png and docs/signs-to-check.png from the real program: under a
# virtual X display and in a fresh home, it records the signs of a short visit through the
# body map and the sign dialog, as a practitioner would, and takes the main window with its
# ranking, then the window of the signs to check.
# Usage: scripts/screenshot.sh [display number, 99 by default]
set -euo pipefail
cd "$(dirname "$0")/.."
display=":${1:-99}"
scripts/deps.sh screenshot
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tessavor -j"$(nproc)" >/dev/null

home=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$home"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" build/bin/tessavor >/dev/null 2>&1 &
program=$!
pids+=("$program")
# The windows the program shows: the main window, then, while it is open, the sign
# dialog (found by the process, as its title may be set after it appears).
shown() { xdotool search --onlyvisible --pid "$program" 2>/dev/null || true; }
dialog() { shown | grep -vx "$main" | head -1; }
wait_for() {
  for _ in $(seq 300); do
    [ -n "$($1)" ] && { $1; return; }
    sleep 0.1
  done
  echo "scripts/screenshot.sh: the program showed no window ($1)" >&2
  exit 1
}

main=
main=$(wait_for shown | head -1)
sleep 1

# pick X Y PREFIX...: clicks the body map at (X, Y) of the main window (its layout at
# 96 dpi), reaches each sign by typing the beginning of one of its words, marks it with the
# space bar once the search has ended, and presses "Valider".
pick() {
  local x=$1 y=$2
  shift 2
  xdotool mousemove --window "$main" "$x" "$y" click 1
  local window
  window=$(wait_for dialog)
  sleep 0.5
  for prefix in "$@"; do
    xdotool type --delay 80 "$prefix"
    sleep 1.5
    xdotool key space
    sleep 0.3
  done
  xdotool mousemove --window "$window" 108 444 click 1
  while [ -n "$(dialog)" ]; do sleep 0.1; done
  sleep 0.5
}

# The signs of a blood stasis of the Heart.
pick 254 224 violac veines      # Langue
pick 52 328 nou                 # Pouls
pick 257 252 douleur irradiant  # Coeur
pick 56 252 lancinante          # Thorax
pick 103 176 violac             # Lèvres
# The pointer rests on the ranked list, so no label of the map shows it.
xdotool mousemove --window "$main" 560 200
sleep 0.5
import -window "$main" docs/main-window.png
echo "docs/main-window.png"

# A second visit, where two syndromes of the Liver tie: the toolbar's "Nouveau" (and OK to
# its question), four signs found through the search (Ctrl+F: each one's words typed, Enter
# to the list, the space bar to mark it, back to the field), "Valider"; then their signs to
# check (Edition › Signes à vérifier, Ctrl+D), the first sign offered for each syndrome
# marked, and back to the first.
xdotool mousemove --window "$main" 19 37 click 1
sleep 1
xdotool key Return
sleep 1
# Without a window manager nobody hands the keyboard back to the main window.
xdotool windowfocus "$main"
xdotool key ctrl+f
window=$(wait_for dialog)
sleep 0.5
for words in "irritab" "pouls tendu" "distension des hypoc" "appetit variable"; do
  xdotool key ctrl+a
  xdotool type --delay 80 "$words"
  sleep 1
  xdotool key Return space shift+Tab
  sleep 0.3
done
xdotool mousemove --window "$window" 108 444 click 1
while [ -n "$(dialog)" ]; do sleep 0.1; done
sleep 0.5
xdotool key ctrl+d
window=$(wait_for dialog)
sleep 0.5
xdotool key space Tab space shift+Tab
sleep 0.3
import -window "$window" docs/signs-to-check.png
echo "docs/signs-to-check.png"
