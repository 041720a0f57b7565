#!/bin/sh
# Runs a validator on a file and fails on any remark it makes, not only on errors.
#   validate.sh <file> <validator command>...
set -u
file=$1
shift
out=$("$@" "$file" 2>&1)
status=$?
printf '%s\n' "$out"
[ $status -eq 0 ] || exit 1
# appstreamcli ends a clean report with its success line; desktop-file-validate says nothing.
printf '%s\n' "$out" | grep -v -e '^$' -e 'Validation was successful' | grep -q . && exit 1
exit 0
