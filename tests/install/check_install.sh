#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks that it is a desktop application: both
# programs, a valid desktop entry that opens 3DO models, the MIME type matching *.3do in any
# letter case, and the icon.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

for f in bin/skinweaver bin/skinweaver-cli share/applications/skinweaver.desktop \
         share/mime/packages/skinweaver-3do.xml share/icons/hicolor/scalable/apps/skinweaver.svg; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ -x "$prefix/bin/skinweaver" ] && [ -x "$prefix/bin/skinweaver-cli" ]

entry="$prefix/share/applications/skinweaver.desktop"
desktop-file-validate "$entry"
grep -qx 'Exec=skinweaver %f' "$entry"
grep -qx 'MimeType=model/x-jk-3do;' "$entry"

# The MIME database built from the package names the type for *.3do, case-insensitively.
update-mime-database "$prefix/share/mime"
grep -qx 'model/x-jk-3do:\*.3do' "$prefix/share/mime/globs"
grep -q '^50:model/x-jk-3do:\*.3do' "$prefix/share/mime/globs2"
! grep -q 'model/x-jk-3do:\*.3do:cs' "$prefix/share/mime/globs2"
echo "installed as a desktop application"
