#!/usr/bin/env bash
# Start-up as a person meets it, beside an empty Qt window started the same way: under a
# bare Xvfb (no window manager), the time from starting the program to its main window
# mapped, read from the X server's own map events. The two programs run in turn, each in
# a fresh home; the medians and their ratio are printed at the end.
# With "instructions" as third argument, each program runs once under callgrind instead
# and the instructions it ran until its window was mapped (and a second of rest) are
# counted: figures that a busy machine does not blur.
# Usage: bench/startup_paired.sh [runs, 7 by default] [display number, 97 by default] [instructions]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
display=":${2:-97}"
cmake --build build --target tessavor tessavor_emptywindow -j2 >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# Every window mapped on the screen, stamped as it is heard (bash's own clock: no process
# is started per line).
events=$work/events
: >"$events"
xev -root -event substructure | while IFS= read -r line; do
  [[ $line == *"window 0x"*"override"* ]] && echo "$EPOCHREALTIME ${line##*window }"
done >>"$events" &
pids+=($!)
sleep 0.5

# Milliseconds from the start of `program` to the mapping of its window titled `title`.
measure() {
  local title=$1 program=$2 before start pid id mapped
  before=$(wc -l <"$events")
  start=$EPOCHREALTIME
  env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
    "$program" >/dev/null 2>&1 &
  pid=$!
  id=$(xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
  mapped=$(tail -n +"$((before + 1))" "$events" | grep -i " $(printf '0x%x' "$id")," | head -1 | cut -d' ' -f1)
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$work/home"
  awk -v a="$start" -v b="$mapped" 'BEGIN { printf "%.0f\n", (b - a) * 1000 }'
}

# Instructions of `program` until its window titled `title` is mapped, under callgrind.
instructions() {
  local title=$1 program=$2 pid
  env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.%p" "$program" >/dev/null 2>&1 &
  pid=$!
  xdotool search --sync --onlyvisible --name "^$title\$" >/dev/null 2>&1
  sleep 1
  callgrind_control --dump "$pid" >/dev/null 2>&1
  sleep 0.5
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$work/home"
  awk '/^totals:/ { print $2 }' "$work/callgrind.$pid.1"
}

if [ "${3:-}" = instructions ]; then
  e=$(instructions 'Fenêtre vide' build/bench/tessavor_emptywindow)
  p=$(instructions 'Tessavor chinois' build/bin/tessavor)
  echo "instructions to the window mapped: empty window $e, Tessavor $p, ratio $(awk -v p="$p" -v e="$e" 'BEGIN { printf "%.2f", p / e }')"
  exit 0
fi

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

empty=() program=()
for ((i = 1; i <= runs; i++)); do
  empty+=("$(measure 'Fenêtre vide' build/bench/tessavor_emptywindow)")
  program+=("$(measure 'Tessavor chinois' build/bin/tessavor)")
  echo "run $i: empty window ${empty[-1]} ms, Tessavor ${program[-1]} ms"
done
e=$(printf '%s\n' "${empty[@]}" | median)
p=$(printf '%s\n' "${program[@]}" | median)
echo "median of $runs: empty window $e ms, Tessavor $p ms, ratio $(awk -v p="$p" -v e="$e" 'BEGIN { printf "%.2f", p / e }')"
