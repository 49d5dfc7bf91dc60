#!/bin/sh
# installed-tree.sh BUILD APP-ID: installs BUILD into a scratch DESTDIR and checks what a
# desktop reads there: launcher, AppStream data, every icon size, the manual page.
set -eux
build=$1 id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr > /dev/null
share=$root/usr/share
test -x "$root/usr/bin/$(sed -n 's/^Exec=//p' "$share/applications/$id.desktop")"
grep -qx "Icon=$id" "$share/applications/$id.desktop"
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" > /dev/null
for size in 16 22 32 48 64 128; do
    file -b "$share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "^PNG image data, $size x $size,"
done
page=$share/man/man1/quillbox.1.gz
test -z "$(man --warnings -l "$page" 2>&1 > /dev/null)"
man -l "$page" | grep -q "Qbox1.QBX"
