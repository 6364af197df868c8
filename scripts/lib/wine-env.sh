# Sourced by scripts/test before the Windows tests: a private wine prefix under build/windows/, set up
# once, with one wine server kept running so each test case does not start wine anew (about 2.5 s a
# case otherwise). wine_env_up starts it, wine_env_down ends it.
#   $WINEPREFIX   the prefix, build/windows/wineprefix
#   $DISPLAY      an Xvfb display of our own when none was set
# The ANSI code page under wine follows the locale: code page 936 needs zh_CN.UTF-8 (scripts/setup
# generates it).
WINE_ENV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WINE_ENV_XVFB_PID=""

wine_env_up() {
    export WINEPREFIX="$WINE_ENV_ROOT/build/windows/wineprefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko installer prompt in a fresh prefix.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    if [ -z "${DISPLAY:-}" ]; then
        export DISPLAY=":$((90 + $$ % 100))"
        Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        WINE_ENV_XVFB_PID=$!
    fi
    mkdir -p "$WINEPREFIX"
    wineserver -p
    if [ ! -f "$WINEPREFIX/.ostrelle-ready" ]; then
        wine wineboot -i >/dev/null 2>&1
        # A crash must fail its test, not wait on a dialog nobody closes.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
        # The program's dialog font, 宋体, drawn with the Debian font that carries its glyphs.
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 宋体 /t REG_SZ /d 'AR PL UMing CN' /f >/dev/null
        # wine draws the frames itself instead of waiting about 2 s for a window manager whenever a
        # window is hidden.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
        touch "$WINEPREFIX/.ostrelle-ready"
    fi
    # One command first, so wine's desktop is up before two tests at once ask for it.
    wine cmd /c exit >/dev/null 2>&1 || true
}

wine_env_down() {
    wineserver -k 2>/dev/null || true
    if [ -n "$WINE_ENV_XVFB_PID" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=""
    fi
}
