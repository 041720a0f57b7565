#!/bin/sh
# Builds the Debian package from the build folder and checks its control fields and files.
#   package.sh <build folder> <output folder> <application id> [ON when the program imports Access bases]
set -eu
build=$1
out=$2
id=$3
jet_import=${4:-OFF}
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
set -- "$out"/tessavor_*.deb
[ -f "$1" ] || { echo "no package made in $out"; exit 1; }
deb=$1
echo "$deb"
dpkg-deb -f "$deb" Package Version Maintainer Depends
fail=0
depends=$(dpkg-deb -f "$deb" Depends)
needs="libqt6widgets6 libqt6svg6 libqt6printsupport6 libsqlite3-0 libc6 libcups2 fonts-liberation qt6-translations-l10n"
[ "$jet_import" = ON ] && needs="$needs libmdb3"
for need in $needs; do
  case ", $depends," in
    *", $need"[\ ,]*) ;;
    *) echo "Depends lacks $need"; fail=1 ;;
  esac
done
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/tessavor ./usr/share/tessavor/Signes.mdb ./usr/share/tessavor/INDEX.HTM \
         ./usr/share/tessavor/AIDE.CSS ./usr/share/applications/$id.desktop \
         ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg \
         ./usr/share/icons/hicolor/48x48/apps/$id.png; do
  printf '%s\n' "$files" | grep -qx "$f" || { echo "package lacks $f"; fail=1; }
done
exit $fail
