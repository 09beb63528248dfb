#!/usr/bin/env bash
# check_install.sh BUILD_DIR PREFIX MIME_SCHEMA SAMPLE
# Installs BUILD_DIR into PREFIX (emptied first) and checks the result as a
# desktop would use it. Prints what is wrong and exits non-zero.
set -euo pipefail
build=$1 prefix=$2 schema=$3 sample=$4
fail() { echo "install check: $*" >&2; exit 1; }

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/ondarix bin/ondarix-batch share/ondarix/ondarix-manual.html \
         share/applications/ondarix.desktop share/icons/hicolor/scalable/apps/ondarix.svg \
         share/mime/packages/ondarix.xml; do
  [ -s "$prefix/$f" ] || fail "$f is missing or empty"
done
[ -x "$prefix/bin/ondarix" ] && [ -x "$prefix/bin/ondarix-batch" ] || fail "programs not executable"

desktop-file-validate "$prefix/share/applications/ondarix.desktop" || fail "desktop entry invalid"
grep -qx 'Exec=ondarix %f' "$prefix/share/applications/ondarix.desktop" \
  || fail "the desktop entry does not pass the file to ondarix"
xmllint --noout --relaxng "$schema" "$prefix/share/mime/packages/ondarix.xml" 2>/dev/null \
  || fail "MIME file invalid"
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/ondarix.svg" || fail "icon is no XML"

# The desktop entry must claim the types the MIME file defines.
for type in $(xmllint --xpath '//*[local-name()="mime-type"]/@type' \
                "$prefix/share/mime/packages/ondarix.xml" | sed 's/ type="\([^"]*\)"/\1 /g'); do
  grep -q "^MimeType=.*$type;" "$prefix/share/applications/ondarix.desktop" \
    || fail "the desktop entry does not open $type"
done

# The database built from the file names the sample's type by its extension.
update-mime-database "$prefix/share/mime" || fail "update-mime-database refused the types"
grep -q '^50:application/x-ondarix-int:\*\.int' "$prefix/share/mime/globs2" \
  || fail "*.INT is not application/x-ondarix-int in the built database"
grep -q 'application/x-ondarix-m11:\*\.m11' "$prefix/share/mime/globs2" \
  || fail "*.M11 is not application/x-ondarix-m11 in the built database"

# The installed batch tool runs and reads the sample.
"$prefix/bin/ondarix-batch" info "$sample" >/dev/null || fail "installed ondarix-batch fails"
echo "install check: all good in $prefix"
