#!/bin/sh
# The program's command line, without a display: --version and --help answer on the standard
# output with status 0, a wrong option gets the usage on the standard error and status 2.
# The X11 platform is asked for and no display given, so a program that started the toolkit
# first would abort instead.
#   command_line.sh <program> [version it must print]
set -u
program=$1
version=${2:-}
fail=0
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "$@" >"$tmp/out" 2>"$tmp/err"
  status=$?
}
check() {
  if ! eval "$2"; then
    echo "tessavor $1: failed check: $2 (status $status)"
    sed 's/^/  stdout: /' "$tmp/out"
    sed 's/^/  stderr: /' "$tmp/err"
    fail=1
  fi
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

run --version
if [ -n "$version" ]; then
  check --version '[ $status -eq 0 ] && [ "$(cat "$tmp/out")" = "Tessavor $version" ] && [ ! -s "$tmp/err" ]'
else
  check --version '[ $status -eq 0 ] && grep -Eqx "Tessavor [0-9]+\.[0-9]+\.[0-9]+" "$tmp/out" && [ ! -s "$tmp/err" ]'
fi
run --help
check --help '[ $status -eq 0 ] && head -1 "$tmp/out" | grep -qx "Utilisation : tessavor \[OPTION\]\.\.\." && [ ! -s "$tmp/err" ]'
run -platform offscreen --frobnicate
check --frobnicate '[ $status -eq 2 ] && [ ! -s "$tmp/out" ] && grep -q "« --frobnicate »" "$tmp/err" && grep -q "^Utilisation : tessavor" "$tmp/err"'
[ $fail -eq 0 ] && echo "--version, --help and a wrong option answered without a display"
exit $fail
