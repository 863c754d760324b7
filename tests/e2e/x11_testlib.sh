# Shared by the scripts that drive the programs with real X input inside
# tools/winerun --unix (which provides DISPLAY, WINEPREFIX and a prefix of
# their own): the programs and a work folder, checks counted as they pass or
# fail, the test driver, waiting, and the agent's tray icon on the X screen.
#
#   source x11_testlib.sh
#   x11_setup SCRIPT BIN WORKNAME PROGRAM...   sets bin, work, winwork, winbin

x11_setup() {
    local script=$1 f
    bin=$(realpath -- "$2")
    [[ -n ${WINEPREFIX:-} && -n ${DISPLAY:-} ]] || { echo "$script: run me through winerun --unix" >&2; exit 2; }
    for f in "${@:4}"; do
        [[ -f $bin/$f ]] || { echo "$script: no $bin/$f" >&2; exit 2; }
    done
    work=$(mktemp -d "${TMPDIR:-/tmp}/$3.XXXXXX")
    winwork="Z:${work//\//\\}"
    winbin="Z:${bin//\//\\}"
}

# Generous: a loaded machine makes every Wine step slow.
wait_ms=20000
failures=0

ok() {
    echo "ok    $*"
}

fail() {
    echo "FAIL  $*"
    failures=$((failures + 1))
}

# The summary line and the exit code.
finish() {
    if ((failures)); then
        echo "$failures check(s) failed"
        exit 1
    fi
    echo "all passed"
}

drv() {
    wine "$bin/tvdriver.exe" "$@" 2>&1 | tr -d '\r'
}

# The value of KEY= in a tvdriver line.
field() {
    sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2" | head -n 1
}

wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

job_ended() {
    ! kill -0 "$1" 2>/dev/null
}

# Where Wine's screen coordinates lie on the X screen: the virtual desktop's
# window may sit anywhere; without one they are the same.
desktop_origin() {
    local id geometry
    id=$(xdotool search --name ' - Wine desktop$' 2>/dev/null | head -n 1)
    if [[ -z $id ]]; then
        echo "0 0"
        return
    fi
    geometry=$(xdotool getwindowgeometry --shell "$id")
    echo "$(sed -n 's/^X=//p' <<<"$geometry") $(sed -n 's/^Y=//p' <<<"$geometry")"
}

in_virtual_desktop() {
    xdotool search --name ' - Wine desktop$' >/dev/null 2>&1
}

# Sets icon_x and icon_y to the agent's tray icon on the X screen.
find_tray_icon() {
    local line= origin deadline=$((SECONDS + wait_ms / 1000))
    while ((SECONDS < deadline)); do
        line=$(drv tray -list | grep -m1 ' tip=Tarvin 2$')
        [[ -n $line ]] && break
        sleep 0.1
    done
    [[ -n $line ]] || { fail "no tray icon with the tip 'Tarvin 2'"; return 1; }
    origin=$(desktop_origin)
    icon_x=$(($(field screenx "$line") + ${origin% *}))
    icon_y=$(($(field screeny "$line") + ${origin#* }))
}

# Clicks the tray icon with X button 1 (left) or 3 (right).
click_tray() {
    find_tray_icon || return 1
    xdotool mousemove "$icon_x" "$icon_y" click "$1"
}
