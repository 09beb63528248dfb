#!/usr/bin/env bash
# check_install.sh BUILD_DIR ROOT MIME_SCHEMA SAMPLE [PYTHON_DIR PYTHON]
# Installs BUILD_DIR with the prefix /usr, as the .deb does, into the staging
# folder ROOT (emptied first; nothing is written outside it), and checks the
# result as a desktop and a Python user would use it; then builds the .deb
# and checks where it puts the Python package and what it depends on.
# PYTHON_DIR is where the build puts the package (under the prefix when
# relative), PYTHON the interpreter it is built for; both empty without it.
# Prints what is wrong and exits non-zero.
set -euo pipefail
build=$1 root=$2 schema=$3 sample=$4 pydir=${5:-} python=${6:-}
fail() { echo "install check: $*" >&2; exit 1; }

rm -rf "$root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
prefix=$root/usr

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

if [ -n "$pydir" ]; then
  case $pydir in
    /*) site=$root$pydir ;;
    *) site=$prefix/$pydir ;;
  esac
  [ -s "$site/ondarix/__init__.py" ] || fail "the Python package is not in $site"
  ls "$site"/ondarix/_ondarix*.so >/dev/null 2>&1 || fail "the extension is not in $site/ondarix"
  # Imported from there, not from the build or the source tree.
  (cd "$root" && PYTHONPATH="$site" "$python" -c '
import sys, ondarix
assert ondarix.__file__.startswith(sys.argv[1]), ondarix.__file__
m = ondarix.read(sys.argv[2])
assert m.samples.shape[0] > 0
' "$site" "$sample") || fail "the installed Python package does not import from $site"
fi

# The package: the Python module where Debian's python3 looks, and the
# packages it needs among the dependencies.
if command -v dpkg-deb >/dev/null; then
  cpack --config "$build/CPackConfig.cmake" -B "$root/deb" >/dev/null || fail "cpack failed"
  deb=$(ls "$root"/deb/*.deb)
  contents=$(dpkg-deb -c "$deb")
  grep -q ' ./usr/bin/ondarix$' <<<"$contents" || fail "the .deb holds no /usr/bin/ondarix"
  # Every library the programs link comes from a package the .deb depends on.
  # A sanitizer build links its runtime and, without --as-needed, libraries
  # its dependencies bring anyway; it is never packaged, so it is not checked.
  depends=$(dpkg-deb -f "$deb" Depends)
  sanitized=$(objdump -p "$prefix/bin/ondarix-batch" | awk '$1 == "NEEDED" && $2 ~ /^lib[at]san/' || true)
  for exe in "$prefix/bin/ondarix" "$prefix/bin/ondarix-batch"; do
    [ -z "$sanitized" ] || break
    for lib in $(objdump -p "$exe" | awk '$1 == "NEEDED" {print $2}'); do
      path=$(ldd "$exe" | awk -v l="$lib" '$1 == l && $2 == "=>" {print $3}')
      [ -n "$path" ] || continue # the dynamic loader itself
      owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null) \
        || continue # not from a package: nothing to depend on
      need=${owner%%:*}
      case ", $depends," in
        *", $need,"* | *", $need "*) ;;
        *) fail "the .deb does not depend on $need, which holds $lib" ;;
      esac
    done
  done
  if [ -n "$pydir" ]; then
    grep -q ' ./usr/lib/python3/dist-packages/ondarix/__init__.py$' <<<"$contents" \
      || fail "the .deb does not put the Python package in /usr/lib/python3/dist-packages"
    for need in python3 python3-numpy python3-pandas; do
      grep -Eq "(^|, )$need( |,|$)" <<<"$depends" || fail "the .deb does not depend on $need"
    done
  fi
fi
echo "install check: all good in $root"
