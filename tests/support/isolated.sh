#!/bin/sh
# Runs one test apart from the user's own files: a home and XDG folders of its own, made
# afresh and removed afterwards, so that no setting, printer choice (~/.cups) or knowledge
# base of the person running the tests is read or changed.
home=$(mktemp -d "${TMPDIR:-/tmp}/tessavor-test-XXXXXX") || exit 1
export HOME="$home"
export XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache"
export XDG_STATE_HOME="$home/.local/state" XDG_RUNTIME_DIR="$home/runtime"
export XDG_CONFIG_DIRS="$home/etc/xdg" XDG_DATA_DIRS="/usr/local/share:/usr/share"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
"$@"
status=$?
rm -rf "$home"
exit $status
