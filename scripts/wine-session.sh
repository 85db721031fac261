#!/usr/bin/env bash
# The Wine session of a Windows build directory: its own prefix and one detached wineserver.
#
#   wine-session.sh start BUILD_DIR             creates the prefix if needed, starts the server
#   wine-session.sh stop BUILD_DIR              ends the server and every Wine process under it
#   wine-session.sh run BUILD_DIR CMD [ARG...]  start, CMD, stop (also when CMD fails or is
#                                               interrupted); exits with CMD's status
#   wine-session.sh exec BUILD_DIR PROGRAM [ARG...]
#                                               runs a Windows program (CMake's emulator)
#   wine-session.sh japanese BUILD_DIR          a Japanese locale and font for later runs
#
# Wine's service processes (services.exe, explorer.exe, winedevice.exe, ...) are started by the
# first program a new server runs and inherit its standard streams. Under ctest or in a
# pipeline they would hold the reader's pipe open for as long as they live, so the reader never
# sees EOF. Here the server and the services start in a session of their own, before any test
# runs, their streams on /dev/null and a log file (BUILD_DIR/wine-session.log).
#
# Environment: PELKOR_WINE_DISPLAY gives Windows programs an X display (none by default: console
# programs need none). A server started without a display keeps every window invisible, so a
# session started with a display ends a server that runs without one (or with another) and
# starts its own. PELKOR_WINE_DISPLAY=virtual: the session's own virtual display, an Xvfb with
# the openbox window manager (which draws the captions), started before the server, stopped
# with it, and given to every program the session runs (the command of `run`, and `exec`
# while the session lasts). PELKOR_WINE_JAPANESE=1 runs programs in the Japanese locale that
# `japanese` prepared (code page 932 instead of 1252).
set -euo pipefail

usage() {
    echo "usage: $0 start|stop|japanese BUILD_DIR | run|exec BUILD_DIR COMMAND [ARG...]" >&2
    exit 2
}
[ $# -ge 2 ] || usage
command=$1
build_dir=$(realpath -m -- "$2")
shift 2

export WINEPREFIX="$build_dir/wine"
# The prefix links Desktop, Documents and the like to $HOME: a home of its own keeps Windows
# programs (and Wine's menu builder) out of the real one.
export HOME="$build_dir/wine-home"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko install prompt, and no menu entries or file associations in $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The session's virtual display, while it runs: its number and the processes behind it.
display_file="$build_dir/wine-display"
xvfb_pid_file="$build_dir/wine-xvfb.pid"
wm_pid_file="$build_dir/wine-wm.pid"
# The display the running server was started with.
server_display_file="$build_dir/wine-server-display"

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

if [ "${PELKOR_WINE_DISPLAY:-}" = virtual ]; then
    wanted_display=virtual
elif [ -n "${PELKOR_WINE_DISPLAY:-}" ]; then
    wanted_display=$PELKOR_WINE_DISPLAY
elif [ "$command" = exec ] && alive "$xvfb_pid_file" && [ -f "$display_file" ]; then
    wanted_display=$(cat "$display_file")
else
    wanted_display=
fi
unset WAYLAND_DISPLAY
# Wine reads Linux file names and arguments in the locale's character set: a UTF-8 locale
# always, so that Japanese names survive whatever locale the caller has.
locale_dir="$build_dir/locale"
if [ "${PELKOR_WINE_JAPANESE:-}" = 1 ]; then
    if [ ! -d "$locale_dir/ja_JP.UTF-8" ] && [ "$command" != japanese ]; then
        echo "$0: no Japanese locale in $locale_dir; run: $0 japanese $build_dir" >&2
        exit 2
    fi
    export LOCPATH=$locale_dir LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
else
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
fi

# Starts an Xvfb on a free display and openbox on it, both detached; sets DISPLAY.
start_virtual_display() {
    local log="$build_dir/wine-session.log" fifo number
    if alive "$xvfb_pid_file" && [ -f "$display_file" ]; then
        export DISPLAY
        DISPLAY=$(cat "$display_file")
        return 0
    fi
    fifo=$(mktemp -u "$build_dir/wine-xvfb-fifo.XXXXXX")
    mkfifo "$fifo"
    # Xvfb writes the display number it took to the pipe once it accepts connections.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" </dev/null \
        >>"$log" 2>&1 &
    echo $! >"$xvfb_pid_file"
    number=$(timeout 20 head -n 1 "$fifo" || true)
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "$0: Xvfb did not start, see $log" >&2
        stop_virtual_display
        return 1
    fi
    export DISPLAY=":$number"
    echo "$DISPLAY" >"$display_file"
    setsid openbox </dev/null >>"$log" 2>&1 &
    echo $! >"$wm_pid_file"
    # Windows mapped before the window manager runs would stay undecorated.
    local i
    for i in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    echo "$0: openbox did not start on $DISPLAY, see $log" >&2
    return 1
}

stop_virtual_display() {
    local file
    for file in "$wm_pid_file" "$xvfb_pid_file"; do
        if alive "$file"; then
            kill "$(cat "$file")" 2>/dev/null || true
        fi
        rm -f "$file"
    done
    rm -f "$display_file"
}

# DISPLAY as the session wants it: none, the one given, or the session's virtual one.
set_display() {
    case $wanted_display in
        "") unset DISPLAY ;;
        virtual) start_virtual_display ;;
        *) export DISPLAY=$wanted_display ;;
    esac
}

# Starts a server for the prefix unless one runs; $1 is its -p option (how long it outlives its
# last program). wineserver exits with 2 when a server for the prefix is already running. With
# $2 = restart, a running server started with another display than DISPLAY is ended first.
ensure_server() {
    local fresh=0 status=0
    mkdir -p "$WINEPREFIX" "$HOME"
    [ -f "$WINEPREFIX/system.reg" ] || fresh=1
    local log="$build_dir/wine-session.log"
    setsid -w wineserver "$1" </dev/null >>"$log" 2>&1 || status=$?
    if [ $status -eq 2 ] && [ "${2:-}" = restart ] &&
        [ "$(cat "$server_display_file" 2>/dev/null)" != "${DISPLAY:-}" ]; then
        stop_server
        status=0
        setsid -w wineserver "$1" </dev/null >>"$log" 2>&1 || status=$?
    fi
    case $status in
        0) printf '%s\n' "${DISPLAY:-}" >"$server_display_file" ;;
        2) return 0 ;;
        *)
            echo "$0: wineserver did not start (status $status), see $log" >&2
            return 1
            ;;
    esac
    # The first program of the new server starts the services: let it be wineboot, detached.
    # Their streams go to the log, a file, which nobody waits on for EOF.
    local boot=(wineboot)
    [ $fresh -eq 0 ] || boot=(wineboot -u)
    status=0
    setsid -w "${boot[@]}" </dev/null >>"$log" 2>&1 || status=$?
    if [ $status -ne 0 ]; then
        echo "$0: ${boot[*]} failed (status $status) for $WINEPREFIX, see $log" >&2
        return 1
    fi
}

# A session's server, once more after a clean stop if the first start fails; a failed start
# leaves nothing running.
start_session() {
    set_display || { stop_virtual_display; return 1; }
    # The command of `run` and the programs `exec` starts meanwhile see the same display.
    if [ -n "${DISPLAY:-}" ]; then
        export PELKOR_WINE_DISPLAY=$DISPLAY
    fi
    ensure_server -p restart && return 0
    echo "$0: starting the Wine session again" >&2
    stop_server
    ensure_server -p restart && return 0
    stop_server
    return 1
}

stop_server() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    # Bounded: a server that does not go within the time is left to the next stop.
    timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
    rm -f "$server_display_file"
}

stop_session() {
    stop_server
    stop_virtual_display
}

case $command in
    start)
        [ $# -eq 0 ] || usage
        start_session
        ;;
    stop)
        [ $# -eq 0 ] || usage
        stop_session
        ;;
    run)
        [ $# -ge 1 ] || usage
        trap stop_session EXIT
        start_session
        # The command runs in the background so that a signal reaches this script at once,
        # not when the command ends; it is passed on as SIGTERM (a background command ignores
        # SIGINT), and the server's stop ends whatever Wine programs remain.
        "$@" <&0 &
        child=$!
        trap 'kill -TERM $child 2>/dev/null || true; exit 130' INT
        trap 'kill -TERM $child 2>/dev/null || true; exit 143' TERM
        status=0
        wait $child || status=$?
        exit $status
        ;;
    exec)
        [ $# -ge 1 ] || usage
        # Outside a session (a plain ctest, a build step) the server lingers a little after the
        # last program instead of being stopped. A virtual display is only ever the session's.
        if [ "$wanted_display" = virtual ]; then
            echo "$0: exec takes the display of a running session or a given one" >&2
            exit 2
        fi
        set_display
        ensure_server -p10
        exec wine "$@"
        ;;
    japanese)
        [ $# -eq 0 ] || usage
        # The locale goes into the build directory, the system's locales stay as they are.
        if [ ! -d "$locale_dir/ja_JP.UTF-8" ]; then
            mkdir -p "$locale_dir"
            localedef -i ja_JP -f UTF-8 "$locale_dir/ja_JP.UTF-8"
        fi
        # Settings only: a display if one is given, but no virtual one of its own.
        [ "$wanted_display" = virtual ] || set_display
        ensure_server -p10
        # IPAPGothic (fonts-ipafont-gothic) stands in for the dialogs' ＭＳ Ｐゴシック.
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ \
            /d IPAPGothic /f </dev/null >/dev/null
        ;;
    *) usage ;;
esac
