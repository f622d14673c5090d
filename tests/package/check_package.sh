#!/usr/bin/env bash
# Unpacks the Debian package into a scratch root and checks what a school's machine gets: the
# program folder, the two programs on the path, the desktop files where the desktop looks for
# them, dependencies on the Qt runtime, the validators and lintian without errors.
#   check_package.sh PACKAGE_DIR APP_ID
set -uo pipefail
deb=$(ls "$1"/quorvel_*.deb 2>/dev/null | head -1)
app_id=$2
[ -n "$deb" ] || { echo "no package in $1 (make package builds it)"; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root" || exit 1
fail=0
bad() { echo "FAIL: $*"; fail=1; }

lib=$root/usr/lib/quorvel
for f in quorvel qvtool; do
    [ -x "$lib/$f" ] && [ ! -L "$lib/$f" ] || bad "$lib/$f is no program"
    [ "$(readlink -f "$root/usr/bin/$f")" = "$lib/$f" ] || bad "/usr/bin/$f does not lead to $lib/$f"
done
for d in class docs bboard tbboard; do
    [ -d "$lib/$d" ] || bad "no $d/ in the program folder"
done
ls "$lib/class"/*.qvg >/dev/null 2>&1 || bad "class/ holds no documents"
ls "$lib/docs"/*.pdf >/dev/null 2>&1 || bad "docs/ holds no guides"
share=$root/usr/share
for f in applications/quorvel.desktop "metainfo/$app_id.metainfo.xml" mime/packages/quorvel.xml \
         man/man1/quorvel.1.gz man/man1/qvtool.1.gz doc/quorvel/copyright \
         icons/hicolor/scalable/apps/quorvel.svg; do
    [ -s "$share/$f" ] || bad "missing /usr/share/$f"
done
for size in 16 24 32 48 64 128 256; do
    [ -s "$share/icons/hicolor/${size}x$size/apps/quorvel.png" ] || bad "no ${size}px icon"
    n=$(ls "$share/icons/hicolor/${size}x$size/mimetypes"/application-x-quorvel-*.png 2>/dev/null | wc -l)
    [ "$n" -eq 5 ] || bad "$n document icons at ${size}px, not 5"
done
# Every document type of the desktop entry is described, and each described type has an icon.
for t in $(sed -n 's/^MimeType=//p' "$share/applications/quorvel.desktop" | tr ';' ' '); do
    grep -q "type=\"$t\"" "$share/mime/packages/quorvel.xml" || bad "$t not described"
    [ -s "$share/icons/hicolor/48x48/mimetypes/${t/\//-}.png" ] || bad "$t has no icon"
done
# The shared MIME database accepts the description.
mkdir -p "$root/mimedb/packages" && cp "$share/mime/packages/quorvel.xml" "$root/mimedb/packages/"
update-mime-database "$root/mimedb" >/dev/null 2>&1 || bad "update-mime-database refused it"
[ -s "$root/mimedb/application/x-quorvel-geometry.xml" ] || bad "the MIME database has no geometry type"

depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libc6; do
    [[ $depends == *"$p"* ]] || bad "Depends lacks $p: $depends"
done
desktop-file-validate "$share/applications/quorvel.desktop" || bad "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    bad "appstreamcli validate"
if command -v lintian >/dev/null; then
    errors=$(lintian --no-tag-display-limit "$deb" 2>&1 | grep '^E:')
    [ -z "$errors" ] || bad "lintian: $errors"
fi
[ $fail -eq 0 ] && echo "package layout: ok ($(basename "$deb"))"
exit $fail
