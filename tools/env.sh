# Shared settings of the tools scripts: where the build and the Wine prefix live, and how Wine runs.
# Sourced, not run.
FERRYL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$FERRYL_ROOT/build}
export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
# No Mono, no Gecko, and no desktop integration (winemenubuilder would hold new shortcuts open).
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64

# Makes the Wine prefix $WINEPREFIX when it is not there, with the settings the tests rely on.
ferryl_make_wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 </dev/null
        wineserver -w
    fi
    if [ ! -f "$WINEPREFIX/.ferryl-settings" ]; then
        # Windows not handed to a window manager: without one (Xvfb) Wine otherwise waits two
        # seconds for the manager at every hide of an active window.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
        wineserver -w
        touch "$WINEPREFIX/.ferryl-settings"
    fi
}

# Starts Xvfb when there is no display; FERRYL_XVFB_PID is set when this script started it.
ferryl_ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local n
    for n in $(seq 90 140); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
        Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        FERRYL_XVFB_PID=$!
        export DISPLAY=:$n
        for _ in $(seq 1 50); do
            [ -e /tmp/.X11-unix/X$n ] && return 0
            sleep 0.1
        done
        kill "$FERRYL_XVFB_PID" 2>/dev/null
        unset DISPLAY FERRYL_XVFB_PID
    done
    echo "could not start Xvfb" >&2
    return 1
}

ferryl_stop_display() {
    if [ -n "${FERRYL_XVFB_PID:-}" ]; then
        kill "$FERRYL_XVFB_PID" 2>/dev/null
        wait "$FERRYL_XVFB_PID" 2>/dev/null
        unset FERRYL_XVFB_PID
    fi
}

ferryl_configure_and_build() {
    cmake -S "$FERRYL_ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$FERRYL_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
    cmake --build "$BUILD_DIR" --parallel "$(nproc)" "$@"
}

# The Win32-free core (src/core), its tests and its fuzzers, built with the host's clang++ under
# AddressSanitizer and UndefinedBehaviorSanitizer.
export NATIVE_BUILD_DIR=${NATIVE_BUILD_DIR:-$BUILD_DIR/native}
# Sanitizer reports name files and lines.
[ -x /usr/lib/llvm-14/bin/llvm-symbolizer ] && export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-/usr/lib/llvm-14/bin/llvm-symbolizer}

ferryl_native_configure_and_build() {
    cmake -S "$FERRYL_ROOT" -B "$NATIVE_BUILD_DIR" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        >/dev/null || return 1
    cmake --build "$NATIVE_BUILD_DIR" --parallel "$(nproc)" "$@"
}
