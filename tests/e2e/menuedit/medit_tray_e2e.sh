#!/bin/bash
# The user's menu edited in the menu editor and then opened from the agent's
# tray icon with real X input: the entry added in the editor is in the menu
# the agent pops up, and choosing it starts its program.
#
#   medit_tray_e2e.sh BIN
#
# BIN holds tvagent.exe, tvmedit.exe, tvdriver.exe and tvtarget.exe. Runs
# inside tools/winerun --unix, which provides DISPLAY, WINEPREFIX and a prefix
# of its own.
set -uo pipefail

[[ $# -eq 1 ]] || { echo "usage: medit_tray_e2e.sh BIN" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR/.. source=x11_testlib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../x11_testlib.sh"
x11_setup medit_tray_e2e.sh "$1" medit-tray tvagent.exe tvmedit.exe tvdriver.exe tvtarget.exe
jobs_started=()

cleanup() {
    drv close -class=TVTargetWindow -timeout=1000 >/dev/null
    drv command -class=_TVAGENT_WINDOW -hidden -cmd=200 -timeout=2000 >/dev/null
    local job
    for job in "${jobs_started[@]}"; do
        wait_until 10 job_ended "$job" || kill "$job" 2>/dev/null
    done
    rm -rf -- "$work"
}
trap cleanup EXIT

editor() {
    drv "$@" -class=_TVMEDIT_MAINWND -pid="$medit_pid"
}

editor_title_is() {
    [[ $(editor text) == "$1" ]]
}

rows_are() {
    [[ $(editor listview -id=304 | cut -f1 | paste -sd'|') == "$1" ]]
}

# The files folder with the user's menu of one entry, and the settings that
# keep the agent and the editor from waiting for a user at start.
mkdir -p "$work/files"
printf "<?TarvinLogFile version='1.00'?>\r\n" >"$work/files/Tarvin.log"
printf '<?TarvinTarvinKeys version="1.00"?>\r\n' >"$work/files/Tarvin Keys.keys"
{
    printf '<?TarvinMenu version="1.00"?>\r\n'
    printf '<menu text="Tarvin 2" iconpath="" iconnumber="0" sidebar="false">\r\n'
    printf '<menuitem text="Old" target="%s\\tvtarget.exe" cmdline="-title=OldEntry" ' "$winbin"
    printf 'workdir="" windowstate="1" iconpath="" iconnumber="0" />\r\n</menu>\r\n'
} >"$work/files/Tarvin.menu"
{
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Norvale\\Tarvin 2]\r\n'
    printf '"Files Folder"="%s\\\\files"\r\n' "${winwork//\\/\\\\}"
    printf '"First Run"=dword:00000000\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Norvale\\Tarvin 2\\Agent]\r\n'
    printf '"No Splash"=dword:00000001\r\n"Show Wizard"=dword:00000000\r\n'
    printf '"Exit Message"=dword:00000000\r\n"Log File"=dword:00000000\r\n"Swop Mouse"=dword:00000000\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Norvale\\Tarvin 2\\Menu Editor]\r\n'
    printf '"Show Tips"=dword:00000000\r\n"Show Startup"=dword:00000000\r\n"Window State"=dword:00000001\r\n'
} >"$work/settings.reg"
wine reg import "$winwork\\settings.reg" >/dev/null 2>&1 || fail "settings not imported"

wine "$bin/tvagent.exe" </dev/null >"$work/agent.out" 2>&1 &
jobs_started+=($!)
line=$(drv find -class=_TVAGENT_WINDOW -hidden -timeout=$wait_ms)
agent_pid=$(field pid "$line")
[[ -n $agent_pid ]] || { fail "agent window not found: $line"; exit 1; }

# The editor opens the user's menu by its own command.
wine "$bin/tvmedit.exe" </dev/null >"$work/medit.out" 2>&1 &
jobs_started+=($!)
line=$(drv find -class=_TVMEDIT_MAINWND -timeout=$wait_ms)
medit_pid=$(field pid "$line")
[[ -n $medit_pid ]] || { fail "editor window not found: $line"; exit 1; }
editor command -cmd=404 >/dev/null
wait_until 20 editor_title_is "Tarvin Menu Editor - [Tarvin 2]" && ok "File > Open Tarvin menu opened the user's menu" ||
    fail "user's menu not opened: $(editor text)"

# A program picked in the application browser goes after the selected row.
editor listview -id=304 -select=0 >/dev/null
editor command -cmd=434 >/dev/null
drv find -title="Browse Applications" -pid="$medit_pid" -timeout=$wait_ms >/dev/null || fail "no application browser"
drv settext -title="Browse Applications" -pid="$medit_pid" -id=104 -value="$winbin\\tvtarget.exe" >/dev/null
drv click -title="Browse Applications" -pid="$medit_pid" -id=105 >/dev/null
wait_until 20 rows_are "Old|tvtarget" && ok "application shortcut inserted after the selected row" ||
    fail "rows after the insert: $(editor listview -id=304)"

editor listview -id=304 -select=0 >/dev/null
editor command -cmd=412 >/dev/null
text=$(drv msgbox -title="Confirm Delete" -pid="$medit_pid" -press=IDYES -timeout=$wait_ms)
[[ $text == "Are you sure you want to delete this menu item?" ]] || fail "delete asked: $text"
wait_until 20 rows_are "tvtarget" || fail "rows after the delete: $(editor listview -id=304)"

editor command -cmd=405 >/dev/null
wait_until 20 editor_title_is "Tarvin Menu Editor - [Tarvin 2]" || fail "not saved: $(editor text)"
if grep -qF "text=\"tvtarget\" target=\"$winbin\\tvtarget.exe\"" "$work/files/Tarvin.menu" &&
    ! grep -q 'text="Old"' "$work/files/Tarvin.menu"; then
    ok "Save wrote the edited menu"
else
    fail "saved menu: $(cat -A "$work/files/Tarvin.menu")"
fi

# Closed, so that its window leaves the tray uncovered.
editor close >/dev/null
drv gone -class=_TVMEDIT_MAINWND -pid="$medit_pid" -timeout=$wait_ms >/dev/null && ok "the saved editor closed without a question" ||
    fail "editor still open: $(drv msgbox -pid="$medit_pid" -timeout=1000)"

# The agent reads the file at the click: its menu holds the one new entry.
click_tray 1 || exit 1
line=$(drv rect -class='#32768' -pid="$agent_pid" -timeout=$wait_ms)
[[ $line == left=* ]] || { fail "no user menu opened on the tray click"; exit 1; }
left=$(field left "$line")
top=$(field top "$line")
width=$(($(field right "$line") - left))
height=$(($(field bottom "$line") - top))
((height < 60 && width > height)) && ok "the tray click popped up the one-entry user menu (${width}x${height})" ||
    fail "expected the one-entry user menu, found a ${width}x${height} menu"
xdotool mousemove $((left + width / 2)) $((top + height / 2)) click 1
if drv find -class=TVTargetWindow -title="TV Target" -timeout=$wait_ms >/dev/null; then
    ok "the entry made in the editor started its program"
else
    fail "choosing the new entry started nothing"
fi
[[ -z $(drv list -class=TVTargetWindow -title=OldEntry | grep '^hwnd=') ]] || fail "the deleted entry ran"

finish
