#!/bin/bash
# Tests of tools/winerun, run natively by ctest:
#   winerun_test.sh CASE WINERUN TEMPLATE KEEPALIVE SELFTEST
# Each case runs winerun with a TMPDIR of its own so it can check exactly what
# a run leaves behind.
set -uo pipefail

[[ $# -eq 5 ]] || { echo "usage: winerun_test.sh CASE WINERUN TEMPLATE KEEPALIVE SELFTEST" >&2; exit 2; }
case_name=$1
winerun=$2
template=$3
keepalive=$4
selftest=$5

work=$(mktemp -d "${TMPDIR:-/tmp}/winerun-test.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
failures=0

fail() {
    echo "FAIL line ${BASH_LINENO[0]}: $*"
    failures=$((failures + 1))
}

expect_eq() {
    [[ $1 == "$2" ]] || fail "expected '$2', got '$1'${3:+ ($3)}"
}

# Runs winerun with a private TMPDIR; stdout, stderr and the exit code land in
# $work/out, $work/err and $rc.
run_winerun() {
    TMPDIR=$work/tmp "$winerun" --template "$template" --keepalive "$keepalive" -- "$@" \
        >"$work/out" 2>"$work/err"
    rc=$?
    tr -d '\r' <"$work/out" >"$work/out.txt"
}

# Waits, bounded, until a command succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

# Process ids whose environment names the given Wine prefix.
processes_of_prefix() {
    grep -lzx "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3
}

# Nothing of a finished run may survive: no run folder, no X server on its
# display, no process in its prefix.
expect_torn_down() {
    local prefix=$1 display=$2
    local left
    left=$(find "$work/tmp" -mindepth 1 -maxdepth 1 -name 'winerun.*' 2>/dev/null)
    [[ -z $left ]] || fail "run folder left behind: $left"
    [[ -z $display || ! -e /tmp/.X${display#:}-lock ]] || fail "X server on $display still running"
    [[ -z $prefix ]] || wait_for 10 test -z "$(processes_of_prefix "$prefix")" ||
        fail "processes left in $prefix: $(processes_of_prefix "$prefix")"
}

mkdir -p "$work/tmp"

case $case_name in
    basics)
        # Exit code, stderr apart from stdout, and a relative program path.
        run_winerun "$selftest" --exit 3
        expect_eq "$rc" 3 "exit code of the program"
        grep -q "exiting with 3" "$work/err" || fail "stderr not passed through: $(cat "$work/err")"
        grep -q "exiting with 3" "$work/out" && fail "stderr text arrived on stdout"
        (cd "$(dirname "$selftest")" && run_winerun "./$(basename "$selftest")" --exit 5 && exit "$rc")
        expect_eq "$?" 5 "relative program path"
        # stdin reaches the program.
        run_winerun cmd.exe /c "set /p LINE= & echo got %LINE%" <<<"typed line"
        grep -q "got typed line" "$work/out.txt" || fail "stdin not passed through: $(cat "$work/out")"
        # stdout, the environment of a run, and nothing left of it afterwards.
        run_winerun "$selftest" --env
        expect_eq "$rc" 0
        prefix=$(sed -n 's/^WINEPREFIX=//p' "$work/out.txt")
        display=$(sed -n 's/^DISPLAY=//p' "$work/out.txt")
        expect_eq "$(sed -n 's/^TV_TEST_DISPLAY=//p' "$work/out.txt")" "$display" "TV_TEST_DISPLAY"
        [[ $display =~ ^:[0-9]+$ ]] || fail "DISPLAY '$display' (stdout: $(cat "$work/out"))"
        [[ $prefix == "$work/tmp/winerun."*/prefix ]] || fail "WINEPREFIX '$prefix' not under TMPDIR"
        expect_torn_down "$prefix" "$display"

        WINERUN_KEEP=1 run_winerun "$selftest" --env
        prefix=$(sed -n 's/^WINEPREFIX=//p' "$work/out.txt")
        [[ -f $prefix/user.reg ]] || fail "WINERUN_KEEP=1 did not keep $prefix"
        grep -q "kept" "$work/err" || fail "kept folder not reported"
        wait_for 10 test -z "$(processes_of_prefix "$prefix")" || fail "kept prefix still has processes"
        ;;
    crash)
        # No crash dialog may wait for a click that never comes.
        WINERUN_TIMEOUT=120 run_winerun "$selftest" --crash
        [[ $rc -ne 0 && $rc -ne 124 ]] || fail "a crashing program ended with $rc"
        expect_torn_down "" ""
        ;;
    timeout)
        start=$SECONDS
        WINERUN_TIMEOUT=3 run_winerun "$selftest" --hang
        expect_eq "$rc" 124 "exit code after the time limit"
        ((SECONDS - start < 60)) || fail "took $((SECONDS - start)) s to give up"
        grep -q "time limit" "$work/err" || fail "no message about the time limit"
        expect_torn_down "" ""
        ;;
    teardown_on_signal)
        # TERM: winerun cleans up and reports the signal.
        TMPDIR=$work/tmp "$winerun" --template "$template" --keepalive "$keepalive" "$selftest" --hang \
            >"$work/out" 2>"$work/err" &
        pid=$!
        wait_for 180 compgen -G "$work/tmp/winerun.*/keepalive.ready" >/dev/null || fail "run never got ready"
        run_dir=$(compgen -G "$work/tmp/winerun.*")
        display=$(cat "$run_dir/display")
        kill -TERM "$pid"
        wait "$pid"
        expect_eq "$?" 143 "exit code after TERM"
        expect_torn_down "$run_dir/prefix" "$display"

        # KILL leaves everything behind; the next run clears it away.
        TMPDIR=$work/tmp "$winerun" --template "$template" --keepalive "$keepalive" "$selftest" --hang \
            >"$work/out" 2>"$work/err" &
        pid=$!
        wait_for 180 compgen -G "$work/tmp/winerun.*/keepalive.ready" >/dev/null || fail "run never got ready"
        run_dir=$(compgen -G "$work/tmp/winerun.*")
        xvfb_pid=$(cut -d' ' -f1 "$run_dir/xvfb.pid")
        kill -KILL "$pid"
        wait "$pid" 2>/dev/null
        [[ -d $run_dir ]] || fail "run folder vanished without its owner"
        run_winerun "$selftest" --exit 0
        expect_eq "$rc" 0
        [[ ! -d $run_dir ]] || fail "stale run folder $run_dir not cleared"
        kill -0 "$xvfb_pid" 2>/dev/null && fail "stale Xvfb $xvfb_pid still running"
        expect_torn_down "$run_dir/prefix" ""
        ;;
    isolation)
        # Two runs at the same time, each holding a fixed-name mutex and registry
        # value until the other has made its own: they only pass when the
        # prefixes are separate.
        mkdir -p "$work/meet"
        meet="Z:${work//\//\\}\\meet"
        TMPDIR=$work/tmp "$winerun" --template "$template" --keepalive "$keepalive" "$selftest" \
            --keepalive --pair "$meet" first second >"$work/out1" 2>&1 &
        first=$!
        TMPDIR=$work/tmp "$winerun" --template "$template" --keepalive "$keepalive" "$selftest" \
            --keepalive --pair "$meet" second first >"$work/out2" 2>&1 &
        second=$!
        wait "$first"
        expect_eq "$?" 0 "first run: $(cat "$work/out1")"
        wait "$second"
        expect_eq "$?" 0 "second run: $(cat "$work/out2")"
        expect_torn_down "" ""
        ;;
    template_guard)
        # The default copy shares the template's DLLs by hard link. A program
        # that writes into one in place must fail its run and retire the
        # template, which is then rebuilt.
        cp -a "$template" "$work/template"
        probe=$work/template/drive_c/windows/system32/tvprobe.dll
        echo original >"$probe"
        touch -d "2001-01-01" "$probe"
        template=$work/template
        run_winerun cmd.exe /c "echo overwritten> C:\windows\system32\tvprobe.dll"
        [[ $rc -ne 0 ]] || fail "the run passed although it changed the template"
        grep -q "shared with the prefix template" "$work/err" || fail "no warning: $(cat "$work/err")"
        [[ ! -e $work/template/.tv-template ]] || fail "the changed template is still marked complete"
        ;;
    unix)
        # --unix runs a script in the environment instead of a Windows program;
        # --desktop puts that environment into a virtual desktop.
        cat >"$work/probe.sh" <<'EOF'
#!/bin/bash
echo "DISPLAY=$DISPLAY"
echo "WINEPREFIX=$WINEPREFIX"
wine cmd /c echo from wine | tr -d '\r'
id=$(xdotool search --name ' - Wine desktop$' 2>/dev/null | head -n 1)
[[ -n $id ]] && xdotool getwindowgeometry --shell "$id" | grep -E '^(WIDTH|HEIGHT)='
exit 4
EOF
        chmod +x "$work/probe.sh"
        for desktop in "" 800x600; do
            TMPDIR=$work/tmp "$winerun" --template "$template" --keepalive "$keepalive" --unix \
                ${desktop:+--desktop "$desktop"} -- "$work/probe.sh" >"$work/out" 2>"$work/err"
            expect_eq "$?" 4 "exit code of the script${desktop:+ with a desktop}"
            grep -q "^from wine" "$work/out" || fail "the script could not run wine: $(cat "$work/out" "$work/err")"
            geometry=$(grep -E '^(WIDTH|HEIGHT)=' "$work/out" | tr '\n' ' ')
            if [[ -n $desktop ]]; then
                expect_eq "$geometry" "WIDTH=800 HEIGHT=600 " "virtual desktop window"
            else
                expect_eq "$geometry" "" "virtual desktop window"
            fi
            expect_torn_down "$(sed -n 's/^WINEPREFIX=//p' "$work/out")" "$(sed -n 's/^DISPLAY=//p' "$work/out")"
        done
        ;;
    *)
        echo "unknown case $case_name" >&2
        exit 2
        ;;
esac

if ((failures)); then
    echo "$case_name: $failures check(s) failed"
    exit 1
fi
echo "$case_name: passed"
