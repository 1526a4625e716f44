# Shared by run.sh and test.sh: packages, build trees, the virtual display and Wine.
# Sourced, not run.

ZAM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZAM_BUILD=${ZAM_BUILD:-$ZAM_ROOT/build}
# Absolute, as Wine wants its prefix inside it.
case $ZAM_BUILD in /*) ;; *) ZAM_BUILD=$PWD/$ZAM_BUILD ;; esac
ZAM_PACKAGES=(cmake ninja-build g++ python3 locales clang libclang-rt-14-dev googletest libgtest-dev
              g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
              wine wine64 xvfb xdotool imagemagick fonts-liberation)

zam_log() { printf '== %s\n' "$*" >&2; }

# Installs only what is missing; the package lists of a new machine are empty until updated.
zam_ensure_packages() {
    local missing=() pkg
    for pkg in "${ZAM_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    zam_log "installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq \
            "${missing[@]}" >/dev/null
}

# Wine names Unix files through the C library's locale: without a real ru_RU.UTF-8 locale a
# Russian-locale run could not open any file whose name is not ASCII.
zam_ensure_locale() {
    locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$' && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    zam_log "generating the ru_RU.UTF-8 locale"
    "${sudo[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}

zam_configure() {  # name, extra cmake arguments...
    local name=$1
    shift
    cmake -S "$ZAM_ROOT" -B "$ZAM_BUILD/$name" -G Ninja "$@" >/dev/null
}

zam_build_windows() {
    zam_configure win64 -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ZAM_ROOT/cmake/mingw-x86_64.cmake" &&
        cmake --build "$ZAM_BUILD/win64"
}

# The fuzz tree: clang cannot compile to Windows-1251, so it gets a converted copy of the
# window-free sources.
zam_build_fuzz() {
    local src=$ZAM_BUILD/fuzz-src file
    rm -rf "$src" && mkdir -p "$src" || return 1
    cp "$ZAM_ROOT/CMakeLists.txt" "$src/" && cp -r "$ZAM_ROOT/cmake" "$src/" || return 1
    for file in $(cd "$ZAM_ROOT" && find toolkit workspace language fuzz bench app/settings_codec.* \
                      -name '*.cpp' -o -name '*.h'); do
        mkdir -p "$src/$(dirname "$file")"
        iconv -f UTF-8 -t CP1251 "$ZAM_ROOT/$file" >"$src/$file" || return 1
    done
    cmake -S "$src" -B "$ZAM_BUILD/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZAMENOR_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
        cmake --build "$ZAM_BUILD/fuzz"
}

# Wine: one prefix per checkout, a persistent server, no Mono or Gecko prompts.
export WINEPREFIX=${WINEPREFIX:-$ZAM_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No debugger on a crash: winedbg would hold the crashed program's output open, and a test run
# would wait for it instead of failing.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
ZAM_WINE=/usr/lib/wine/wine64
ZAM_WINESERVER=/usr/lib/wine/wineserver
ZAM_XVFB_PID=

zam_start_wine() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        zam_log "creating the Wine prefix"
        mkdir -p "$WINEPREFIX"
        "$ZAM_WINE" wineboot -i >/dev/null 2>&1
        "$ZAM_WINESERVER" -w
        # Liberation Sans has Arial's metrics.
        "$ZAM_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ \
            /d 'Liberation Sans' /f >/dev/null 2>&1
        # The registry step leaves its own server running for a while; a persistent one
        # cannot start beside it.
        "$ZAM_WINESERVER" -w
    fi
    # A server that is already running (of an earlier command) is stopped for a persistent one.
    if ! "$ZAM_WINESERVER" -p >/dev/null 2>&1 </dev/null; then
        "$ZAM_WINESERVER" -k 2>/dev/null
        "$ZAM_WINESERVER" -w
        "$ZAM_WINESERVER" -p >/dev/null 2>&1 </dev/null || {
            zam_log "could not start the Wine server"
            return 1
        }
    fi
    # Without a window manager Wine waits two seconds for one whenever a managed window
    # closes; unmanaged windows close at once and look the same here.
    "$ZAM_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        >/dev/null 2>&1
}

zam_stop_wine() { "$ZAM_WINESERVER" -k 2>/dev/null || true; }

zam_start_xvfb() {
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        ZAM_XVFB_PID=$!
        export DISPLAY=":$n"
        local tries
        for tries in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && return 0
            kill -0 "$ZAM_XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
    done
    zam_log "could not start Xvfb"
    return 1
}

zam_stop_xvfb() {
    [ -n "$ZAM_XVFB_PID" ] && kill "$ZAM_XVFB_PID" 2>/dev/null
    ZAM_XVFB_PID=
}
