#!/usr/bin/env bash
# Builds the 64-bit program and makes the portable zip: zamenor.exe, the user guide, the
# examples and a short readme in Russian, in one folder. Prints the zip's path.
#     scripts/package.sh [OUT_DIR]
set -euo pipefail
. "$(dirname "$0")/common.sh"
trap 'zam_log "package.sh: failed (exit $?): $BASH_COMMAND"' ERR
out=${1:-$ZAM_BUILD}
name=zamenor-1.0-win64
zam_build_windows >/dev/null
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name"
cp "$ZAM_BUILD/win64/zamenor.exe" "$stage/$name/"
cp -r "$ZAM_ROOT/Help" "$ZAM_ROOT/examples" "$stage/$name/"
# Windows-1251 with CR LF, as Notepad of a Russian Windows reads it best.
iconv -f UTF-8 -t CP1251 "$ZAM_ROOT/scripts/readme-zip.txt" | sed 's/$/\r/' \
    >"$stage/$name/readme.txt"
mkdir -p "$out"
rm -f "$out/$name.zip"
(cd "$stage" && python3 -m zipfile -c "$out/$name.zip" "$name")
echo "$out/$name.zip"
