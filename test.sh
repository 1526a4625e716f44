#!/usr/bin/env bash
# Installs what is missing, builds every tree, runs every test, prints "N passed, N failed".
set -uo pipefail
. "$(dirname "$0")/scripts/common.sh"
cd "$ZAM_ROOT"

FUZZ_SECONDS=${FUZZ_SECONDS:-30}
passed=0
failed=0
logs=$ZAM_BUILD/logs
cleanup() { zam_stop_wine; zam_stop_xvfb; }
trap cleanup EXIT

die() { zam_log "$*"; echo "$passed passed, $((failed + 1)) failed"; exit 1; }

zam_ensure_packages || die "package installation failed"
zam_ensure_locale || die "could not generate the ru_RU.UTF-8 locale"
mkdir -p "$logs"

zam_log "building the native tree (AddressSanitizer, UBSan)"
zam_configure native -DCMAKE_BUILD_TYPE=Debug -DZAMENOR_SANITIZE=ON &&
    cmake --build "$ZAM_BUILD/native" || die "native build failed"
zam_log "building the Windows tree (x86_64)"
zam_build_windows || die "Windows build failed"
zam_log "compiling the 32-bit Windows tree"
zam_configure win32 -DCMAKE_BUILD_TYPE=Release -DZAMENOR_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$ZAM_ROOT/cmake/mingw-i686.cmake" &&
    cmake --build "$ZAM_BUILD/win32" || die "32-bit Windows build failed"
zam_log "building the fuzz targets (clang)"
zam_build_fuzz || die "fuzz build failed"

# Counts a GoogleTest run from its closing lines; a crash before them counts as one failure.
count_gtest() {  # name, log, exit code
    local name=$1 log=$2 code=$3 p f
    p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
    f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
    p=${p:-0}
    f=${f:-0}
    if [ "$code" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi
    passed=$((passed + p))
    failed=$((failed + f))
    if [ "$f" -ne 0 ]; then
        zam_log "$name: $f failed (log: $log)"
        grep -E '^\[  FAILED  \]|Failure|ERROR|Sanitizer' "$log" | head -n 40 >&2
    else
        zam_log "$name: $p passed"
    fi
}

# Counts a step that is one check: passed when its exit code is 0, else its log's end is shown.
count_step() {  # name, log, exit code
    if [ "$3" -eq 0 ]; then
        passed=$((passed + 1))
        zam_log "$1: passed"
    else
        failed=$((failed + 1))
        zam_log "$1: failed (log: $2)"
        tail -n 30 "$2" >&2
    fi
}

zam_log "making the portable zip"
expected_zip=$(printf '%s\n' zamenor-1.0-win64/ zamenor-1.0-win64/zamenor.exe \
    zamenor-1.0-win64/readme.txt zamenor-1.0-win64/Help/ zamenor-1.0-win64/examples/ \
    $(cd "$ZAM_ROOT" && find Help examples -type f | sed 's|^|zamenor-1.0-win64/|') | sort)
zip=$("$ZAM_ROOT/scripts/package.sh" "$ZAM_BUILD/dist" 2>"$logs/package.log") &&
    listed=$(python3 -c 'import sys, zipfile
print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip") &&
    { [ "$listed" = "$expected_zip" ] ||
        { printf 'zip holds:\n%s\n' "$listed" >>"$logs/package.log"; false; }; }
count_step "zip holds exactly the program, guide, examples and readme" "$logs/package.log" $?

zam_log "checking that the resources match their generator"
python3 resources/generate.py --check >"$logs/resources.log" 2>&1
count_step "resources match their generator (else: python3 resources/generate.py)" \
    "$logs/resources.log" $?

zam_log "running the native tests"
"$ZAM_BUILD/native/native_tests" >"$logs/native.log" 2>&1
count_gtest native "$logs/native.log" $?

zam_log "running the solver tests"
"$ZAM_BUILD/native/solver/solver_tests" >"$logs/solver.log" 2>&1
count_gtest solver "$logs/solver.log" $?

zam_log "fuzzing the file readers for ${FUZZ_SECONDS}s"
fuzz_dir=$ZAM_BUILD/fuzz-corpus
mkdir -p "$fuzz_dir"
"$ZAM_BUILD/fuzz/document_fuzz" -max_total_time="$FUZZ_SECONDS" -max_len=4096 \
    "$fuzz_dir" "$ZAM_ROOT/fuzz/corpus" >"$logs/fuzz.log" 2>&1
count_step "fuzz: no crash" "$logs/fuzz.log" $?

zam_start_xvfb || die "no virtual display"
zam_start_wine || die "could not start the Wine server"
# Both code pages: an English locale (ANSI 1252) and a Russian one (ANSI 1251).
for locale in C.UTF-8 ru_RU.UTF-8; do
    zam_log "running the Windows tests under $locale"
    log="$logs/windows-$locale.log"
    (cd "$ZAM_BUILD/win64" && LC_ALL=$locale timeout 600 "$ZAM_WINE" ./windows_tests.exe) \
        >"$log" 2>&1
    count_gtest "windows ($locale)" "$log" $?
    # The real program under the mouse and keyboard of xdotool.
    LC_ALL=$locale timeout 180 "$ZAM_ROOT/scripts/e2e_test.sh" </dev/null \
        >"$logs/e2e-$locale.log" 2>&1
    count_step "end to end ($locale)" "$logs/e2e-$locale.log" $?
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
