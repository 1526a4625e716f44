#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zamenor under Wine. Without a display it runs
# the program on a virtual one for a few seconds and saves a screenshot.
set -euo pipefail
. "$(dirname "$0")/scripts/common.sh"
cd "$ZAM_ROOT"
# Whatever fails says so: set -e alone would end the script without a word.
trap 'zam_log "run.sh: failed (exit $?): $BASH_COMMAND"' ERR

zam_ensure_packages || { zam_log "package installation failed"; exit 1; }
zam_build_windows || { zam_log "the Windows build failed"; exit 1; }
exe=$ZAM_BUILD/win64/zamenor.exe
# A newcomer sees a cryptogram at once; the build puts the examples next to the program.
example=${ZAM_EXAMPLE-examples/03-gogol-viy-long.txt}

if [ -n "${DISPLAY:-}" ]; then
    zam_start_wine
    trap zam_stop_wine EXIT
    (cd "$ZAM_BUILD/win64" && "$ZAM_WINE" "$exe" $example)
    exit
fi

trap 'zam_stop_wine; zam_stop_xvfb' EXIT
zam_start_xvfb
zam_start_wine
(cd "$ZAM_BUILD/win64" && "$ZAM_WINE" "$exe" $example) &
sleep "${ZAM_SHOT_DELAY:-6}"
shot=$ZAM_BUILD/screenshot.png
import -window root "$shot"
echo "screenshot: $shot"
