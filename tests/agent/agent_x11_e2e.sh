#!/bin/bash
# The agent driven with real X input: mouse clicks on its tray icon and key
# presses for its hot keys go through the X server, Wine's input handling and
# the taskbar, as a user's would.
#
#   agent_x11_e2e.sh BIN CASE...
#
# BIN holds tvagent.exe, tvdriver.exe and tvtarget.exe. Cases:
#   tray    without "Swop Mouse": right click opens the main menu, left click
#           the user menu, read afresh from Tarvin.menu at every click
#   hotkey  a key from Tarvin Keys.keys starts a program, another ends the
#           agent; needs Wine's virtual desktop (winerun --desktop)
#
# Runs inside tools/winerun --unix, which provides DISPLAY, WINEPREFIX and a
# prefix of its own. Every case starts its own agent and ends it again.
set -uo pipefail

[[ $# -ge 2 ]] || { echo "usage: agent_x11_e2e.sh BIN CASE..." >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR/../e2e source=x11_testlib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/x11_testlib.sh"
x11_setup agent_x11_e2e.sh "$1" agent-x11 tvagent.exe tvdriver.exe tvtarget.exe
shift
agent_job=
agent_pid=

# The files folder with an empty log, the given keys and menu files, and the
# settings that keep the agent from waiting for a user at start.
prepare() {
    local swop=$1 keys=$2 menu=$3
    rm -rf -- "$work/files"
    mkdir -p "$work/files"
    printf "<?TarvinLogFile version='1.00'?>\r\n" >"$work/files/Tarvin.log"
    printf '%s' "$keys" >"$work/files/Tarvin Keys.keys"
    printf '%s' "$menu" >"$work/files/Tarvin.menu"
    {
        printf 'REGEDIT4\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Norvale\\Tarvin 2]\r\n'
        printf '"Files Folder"="%s\\\\files"\r\n' "${winwork//\\/\\\\}"
        printf '"First Run"=dword:00000000\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Norvale\\Tarvin 2\\Agent]\r\n'
        printf '"No Splash"=dword:00000001\r\n"Show Wizard"=dword:00000000\r\n'
        printf '"Exit Message"=dword:00000000\r\n"Log File"=dword:00000000\r\n'
        printf '"Swop Mouse"=dword:%08x\r\n' "$swop"
    } >"$work/settings.reg"
    wine reg import "$winwork\\settings.reg" >/dev/null 2>&1 || fail "settings not imported"
}

keys_header='<?TarvinTarvinKeys version="1.00"?>'$'\r\n'

# A user menu of one entry that starts tvtarget with the window title given.
# (A value must not contain the name of a later property: the reader takes
# the first occurrence of a name anywhere in the line.)
one_entry_menu() {
    printf '<?TarvinMenu version="1.00"?>\r\n'
    printf '<menu text="Tarvin 2" iconpath="" iconnumber="0" sidebar="false">\r\n'
    printf '<menuitem text="Open TV" target="%s\\tvtarget.exe" cmdline="-title=%s" ' "$winbin" "$1"
    printf 'workdir="" windowstate="1" iconpath="" iconnumber="0" />\r\n</menu>\r\n'
}

start_agent() {
    local line
    wine "$bin/tvagent.exe" </dev/null >"$work/agent.out" 2>&1 &
    agent_job=$!
    line=$(drv find -class=_TVAGENT_WINDOW -hidden -timeout=$wait_ms)
    agent_pid=$(field pid "$line")
    [[ -n $agent_pid ]] || { fail "agent window not found: $line"; return 1; }
}

# Ends the agent through its Exit command, unless it has ended already, and
# waits for the process.
stop_agent() {
    [[ -n $agent_job ]] || return 0
    if ! job_ended "$agent_job"; then
        # An open menu would hold the Exit command back until it closes.
        if [[ -n $agent_pid && -n $(drv list -class='#32768' -pid="$agent_pid" | grep '^hwnd=') ]]; then
            close_menu_by_click "ending the agent"
        fi
        drv command -class=_TVAGENT_WINDOW -hidden -cmd=200 -timeout=5000 >/dev/null
        if ! wait_until 20 job_ended "$agent_job"; then
            fail "agent did not end on its Exit command"
            [[ -n $agent_pid ]] && wine taskkill /f /pid "$agent_pid" >/dev/null 2>&1
            wait_until 10 job_ended "$agent_job"
        fi
    fi
    # Whatever is still left, winerun ends with the prefix.
    job_ended "$agent_job" && wait "$agent_job" 2>/dev/null
    agent_job=
    agent_pid=
}

cleanup() {
    stop_agent
    drv close -class=TVTargetWindow -timeout=1000 >/dev/null
    rm -rf -- "$work"
}
trap cleanup EXIT

# Sets menu_left, menu_top, menu_width and menu_height from the agent's one
# visible pop-up menu.
read_menu() {
    local line count
    line=$(drv rect -class='#32768' -pid="$agent_pid" -timeout=$wait_ms)
    [[ $line == left=* ]] || { fail "$1: no pop-up menu of the agent opened"; return 1; }
    count=$(drv list -class='#32768' -pid="$agent_pid" | grep -c '^hwnd=')
    [[ $count == 1 ]] || fail "$1: $count pop-up menus open instead of one"
    menu_left=$(field left "$line")
    menu_top=$(field top "$line")
    menu_width=$(($(field right "$line") - menu_left))
    menu_height=$(($(field bottom "$line") - menu_top))
    local origin
    origin=$(desktop_origin)
    menu_left=$((menu_left + ${origin% *}))
    menu_top=$((menu_top + ${origin#* }))
}

# The main menu: side bar and eleven entries make it taller than wide. It
# must stay open: one right click brings two callbacks (button-down and
# context menu), and the second must not cancel the first's menu.
expect_main_menu() {
    read_menu "$1" || return 1
    if ((menu_height > menu_width && menu_height >= 150)); then
        ok "$1: main menu (${menu_width}x${menu_height})"
    else
        fail "$1: expected the main menu, found a ${menu_width}x${menu_height} menu"
    fi
    drv gone -class='#32768' -pid="$agent_pid" -timeout=1000 >/dev/null
    [[ $? -eq 2 ]] || fail "$1: the menu closed by itself"
}

# The user menu of one entry: a single short line.
expect_user_menu() {
    read_menu "$1" || return 1
    if ((menu_height < 60 && menu_width > menu_height)); then
        ok "$1: user menu (${menu_width}x${menu_height})"
    else
        fail "$1: expected the one-entry user menu, found a ${menu_width}x${menu_height} menu"
    fi
}

# A click away from the menu (and the tray) closes it. Keys cannot do it
# here: the X focus stays on Wine's tray window, whose process does not pass
# them on to the agent's menu.
close_menu_by_click() {
    local origin
    origin=$(desktop_origin)
    xdotool mousemove $((${origin% *} + 300)) $((${origin#* } + 300)) click 1
    drv gone -class='#32768' -pid="$agent_pid" -timeout=$wait_ms >/dev/null ||
        fail "$1: the menu did not close on a click elsewhere"
}

# The box that says the user menu file could not be read; no menu with it.
expect_menu_read_error() {
    local text
    text=$(drv msgbox -pid="$agent_pid" -timeout=$wait_ms)
    if [[ $text == "Error code 1 occurred while trying to read the menu file." ]]; then
        ok "$1: user menu read afresh; damaged file reported"
    else
        fail "$1: expected the menu file error, got: $text"
    fi
    [[ -z $(drv list -class='#32768' -pid="$agent_pid" | grep '^hwnd=') ]] || fail "$1: a menu opened as well"
    drv msgbox -pid="$agent_pid" -press=IDOK -timeout=$wait_ms >/dev/null || fail "$1: error box did not close"
}

case_tray() {
    prepare 0 "$keys_header" "$(one_entry_menu FromUserMenu)"
    start_agent || return

    click_tray 3 || return
    expect_main_menu "right click"
    close_menu_by_click "right click"

    click_tray 1 || return
    expect_user_menu "left click" || return
    # Its only entry fills it.
    xdotool mousemove $((menu_left + menu_width / 2)) $((menu_top + menu_height / 2)) click 1
    if drv find -class=TVTargetWindow -title=FromUserMenu -timeout=$wait_ms >/dev/null; then
        ok "left click: the user menu's entry started its program"
        drv close -class=TVTargetWindow -title=FromUserMenu >/dev/null
        drv gone -class=TVTargetWindow -title=FromUserMenu -timeout=$wait_ms >/dev/null ||
            fail "target window did not close"
    else
        fail "left click: choosing the user menu's entry started nothing"
    fi
    drv gone -class='#32768' -pid="$agent_pid" -timeout=$wait_ms >/dev/null || fail "user menu still open"

    printf 'not a menu\r\n' >"$work/files/Tarvin.menu"
    click_tray 1 || return
    expect_menu_read_error "left click after the menu file was damaged"
    stop_agent
}

case_hotkey() {
    in_virtual_desktop || { fail "hot keys need Wine's virtual desktop (winerun --desktop WxH)"; return; }
    # Ctrl+Alt+T (84) starts the target, Ctrl+Alt+X (88) ends the agent.
    local keys
    keys=$keys_header
    keys+="<key vcode=\"84\" mods=\"3\" action=\"1\" target=\"$winbin\\tvtarget.exe\">"$'\r\n'
    keys+='<key vcode="88" mods="3" action="10" target="">'$'\r\n'
    prepare 0 "$keys" "$(one_entry_menu Unused)"
    start_agent || return
    [[ -z $(drv list -class=TVTargetWindow | grep '^hwnd=') ]] || fail "a target window exists before the key"

    # Keys reach Wine while the pointer is over its desktop.
    local origin
    origin=$(desktop_origin)
    xdotool mousemove $((${origin% *} + 300)) $((${origin#* } + 300))
    xdotool key ctrl+alt+t
    if drv find -class=TVTargetWindow -title="TV Target" -timeout=$wait_ms >/dev/null; then
        ok "Ctrl+Alt+T started the program of its key"
        drv close -class=TVTargetWindow >/dev/null
        drv gone -class=TVTargetWindow -timeout=$wait_ms >/dev/null || fail "target window did not close"
    else
        fail "Ctrl+Alt+T started nothing"
    fi

    xdotool key ctrl+alt+x
    if wait_until $((wait_ms / 1000)) job_ended "$agent_job"; then
        wait "$agent_job"
        local rc=$?
        agent_job=
        [[ $rc -eq 0 ]] && ok "Ctrl+Alt+X ended the agent" || fail "agent ended with exit code $rc"
        # Saved at exit as loaded.
        cmp -s <(printf '%s' "$keys") "$work/files/Tarvin Keys.keys" && ok "keys file written back unchanged" ||
            fail "keys file changed at exit: $(cat -A "$work/files/Tarvin Keys.keys")"
    else
        fail "Ctrl+Alt+X did not end the agent"
    fi
    stop_agent
}

for name in "$@"; do
    declare -F "case_$name" >/dev/null || { echo "agent_x11_e2e.sh: unknown case $name" >&2; exit 2; }
done
for name in "$@"; do
    echo "== $name"
    start=$SECONDS
    "case_$name"
    stop_agent
    echo "   ($((SECONDS - start)) s)"
done

finish
