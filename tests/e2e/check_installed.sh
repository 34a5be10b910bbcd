#!/usr/bin/env bash
# Checks Sentavell installed under PREFIX as a user meets it: the files where the modules look for
# their siblings, every library dependency resolved from there, `svhost --version` naming the host
# and each module at VERSION, and the live-label session of the installed examples run by the
# installed svhost, with the labels' values as linked, after their sources changed and after the
# drawing was saved and reopened.
#   check_installed.sh PREFIX VERSION
set -euo pipefail
prefix=$1
version=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
lib=$prefix/lib/sentavell
examples=$prefix/share/sentavell/examples
fail() {
    echo "check_installed: $*" >&2
    exit 1
}

for file in svhost libsv_host_runtime.so sentavell17.dbx SentavellUi17.arx SentavellUi17Res.dll \
            hhctrl.ocx sv17.cui sentavell.chm windows/winhlp32.exe; do
    [ -f "$lib/$file" ] || fail "$lib/$file is missing"
done
for file in live_labels.scr drafting.scr; do
    [ -f "$examples/$file" ] || fail "$examples/$file is missing"
done
[ "$(readlink "$prefix/bin/svhost")" = ../lib/sentavell/svhost ] ||
    fail "$prefix/bin/svhost is not the relative link ../lib/sentavell/svhost"

# Our own libraries must come from the installed folder, not from the build they were made in.
for binary in "$lib"/svhost "$lib"/*.so "$lib"/*.dbx "$lib"/*.arx "$lib"/*.dll "$lib"/*.ocx \
              "$lib"/windows/*.exe; do
    deps=$(ldd "$binary")
    if grep -q "not found" <<<"$deps"; then
        fail "$binary: a library is not found:"$'\n'"$deps"
    fi
    while read -r name _ path _; do
        case $name in
        libsv_host_runtime.so | sentavell17.dbx)
            [ "$(realpath "$path")" = "$(realpath "$lib/$name")" ] ||
                fail "$binary takes $name from $path" ;;
        esac
    done <<<"$deps"
done

expected_versions="svhost $version
  SentavellUi17.arx      $version.0
  SentavellUi17Res.dll   $version.0
  sentavell17.dbx        $version.0"
versions=$("$prefix/bin/svhost" --version --load SentavellUi17.arx)
[ "$versions" = "$expected_versions" ] ||
    fail "svhost --version says"$'\n'"$versions"$'\n'"instead of"$'\n'"$expected_versions"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$examples"/* "$work"
cd "$work"
SVHOST_CONFIG_DIR=$work/config "$prefix/bin/svhost" live_labels.scr >transcript.txt 2>&1 ||
    fail "the session failed:"$'\n'"$(tail -20 transcript.txt)"
labels=$(awk -f "$root/scripts/labels.awk" transcript.txt)
expected_labels='Labels as linked, after their sources moved and stretched, and after the drawing was
saved and reopened (the bath unlinked before, so its label stays):
  Kitchen AREA           "24.00 m2"   -> "30.00 m2"   -> "33.00 m2"
  Bath AREA              "16.00 m2"   -> "24.00 m2"   -> "24.00 m2"
  CIRCLE B colour        3 (green)    -> 1 (red)      -> 1 (red)
  TEXT 9                 "10.00 m"    -> "12.00 m"    -> "14.00 m"
  TEXT A                 "4.00 m"     -> "5.00 m"     -> "5.00 m"
  SURVEY E               "E 13.00"    -> "E 15.00"    -> "E 15.00"
  SURVEY N               "N 2.00"     -> "N 3.00"     -> "N 3.00"
  TEXT 36                "10.00 m"    -> "12.00 m"    -> "14.00 m"'
[ "$labels" = "$expected_labels" ] ||
    fail "the session's labels differ:"$'\n'"$(diff <(echo "$expected_labels") <(echo "$labels"))"
for file in labels-before.svg labels-after.svg sheet-before.svg sheet-after.svg session.svd; do
    [ -s "$file" ] || fail "the session wrote no $file"
done

# The module's menu file and help beside it: without a browser the help page is printed.
printf 'ARXLOAD SentavellUi17.arx\nsv_help\n' >help.scr
help=$(env -u BROWSER -u DISPLAY -u WAYLAND_DISPLAY SVHOST_CONFIG_DIR="$work/config" \
       "$prefix/bin/svhost" help.scr 2>&1) || fail "sv_help failed:"$'\n'"$help"
grep -q "Sentavell keeps labels in step" <<<"$help" || fail "sv_help showed no help:"$'\n'"$help"
! grep -q "Menu not loaded" <<<"$help" || fail "the menu file was not found:"$'\n'"$help"
echo "check_installed: $prefix holds a working Sentavell $version"
