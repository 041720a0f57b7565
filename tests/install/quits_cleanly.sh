#!/bin/sh
# Starts the installed program as a person would, offscreen in a fresh home, and ends it as
# the session does at logout (SIGTERM): it must close its windows and exit with status 0.
#   quits_cleanly.sh <installed program>
set -u
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$program" &
pid=$!

# The per-user knowledge base appears early in start-up; the window follows.
copy=$home/.local/share/Tessavor/Signes.mdb
tries=0
while [ ! -f "$copy" ]; do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "the program ended by itself (status $?) before making $copy"
    exit 1
  fi
  tries=$((tries + 1))
  if [ $tries -gt 600 ]; then
    echo "no per-user knowledge base after 60 s"
    kill -KILL "$pid"
    exit 1
  fi
  sleep 0.1
done
sleep 1

kill -TERM "$pid"
# A program that does not end is stopped after 30 s (and the test fails).
(sleep 30 && kill -KILL "$pid") >/dev/null 2>&1 &
watchdog=$!
wait "$pid"
status=$?
kill "$watchdog" 2>/dev/null
if [ $status -ne 0 ]; then
  echo "exit status $status after SIGTERM"
  exit 1
fi
echo "started, made $copy, ended cleanly on SIGTERM"
