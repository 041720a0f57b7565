#!/bin/sh
# Builds the Debian package as Debian builds it (scripts/package.sh: dpkg-buildpackage on a
# copy of the sources, then lintian, which must report no error and no warning), without its
# tests (this test suite runs them), and checks what it holds: the run-time dependencies,
# the files a person and the desktop need, and Debian's hardening in every program.
#   package.sh <source folder> <output folder> <application id> [helper program...]
set -eu
source=$1
out=$2
id=$3
shift 3
DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" "$source/scripts/package.sh" "$out" >"$out.log" 2>&1 || {
  tail -n 60 "$out.log"
  exit 1
}
set -- "$out"/tessavor_*.deb "$@"
deb=$1
shift
echo "$deb"
dpkg-deb -f "$deb" Package Version Maintainer Depends
fail=0
depends=$(dpkg-deb -f "$deb" Depends)
for need in libqt6widgets6 libqt6svg6 libqt6printsupport6 libsqlite3-0 libc6 libcups2 libmdb3 \
            fonts-liberation fonts-dejavu-core qt6-translations-l10n; do
  case ", $depends," in
    *", $need"[\ ,]*) ;;
    *) echo "Depends lacks $need"; fail=1 ;;
  esac
done
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
programs=./usr/bin/tessavor
for helper in "$@"; do
  programs="$programs ./usr/libexec/tessavor/$helper"
done
for f in $programs ./usr/share/tessavor/Signes.mdb ./usr/share/tessavor/INDEX.HTM \
         ./usr/share/tessavor/AIDE.CSS ./usr/share/applications/$id.desktop \
         ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg \
         ./usr/share/icons/hicolor/48x48/apps/$id.png ./usr/share/man/man1/tessavor.1.gz \
         ./usr/share/man/fr/man1/tessavor.1.gz ./usr/share/doc/tessavor/copyright; do
  printf '%s\n' "$files" | grep -qx "$f" || { echo "package lacks $f"; fail=1; }
done
tree=$out/unpacked
dpkg-deb -x "$deb" "$tree"
# Control flow protection needs C start-up files marked for it, which Debian 12's C library
# does not ship, so no program built there has it.
for program in $programs; do
  hardening-check --nocfprotection "$tree/$program" || fail=1
done
exit $fail
