#!/usr/bin/env bash
# Plants each fault of scripts/plant_faults.py in turn and reports which tests catch it. The
# native and Windows trees must have been built (./test.sh does it).
set -uo pipefail
. "$(dirname "$0")/common.sh"
cd "$ZAM_ROOT"
trap 'zam_stop_wine; zam_stop_xvfb' EXIT
zam_start_xvfb && zam_start_wine || exit 1
LC_ALL=${LC_ALL:-C.UTF-8} python3 "$ZAM_ROOT/scripts/plant_faults.py" "$@"
