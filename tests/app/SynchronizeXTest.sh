#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Synchronize in the real program, on an X server with a window manager (Xvfb and openbox,
# driven with xdotool), against a pyftpdlib server of its own on loopback: the local
# explorer's Tool menu opens the dialog for its folder and the remote explorer's; with
# deletes asked for, Preview lists every action; a row left out by a click on its check box
# is not carried; Start asks again before deleting, and then the folders are made, the files
# go through the transfer queue and the orphan goes, and the end is reported.
# Every wait is bounded. Exits with 77 (skipped) when a tool is missing.
#
#   SynchronizeXTest.sh PROGRAM PYFTPD_SERVER_SCRIPT [SCREENSHOT_FOLDER]
set -u
program=$(realpath "$1")
server_script=$(realpath "$2")
shots=${3:-}
source "$(dirname "$0")/lib/XSession.sh"
mkdir -p "$work/served/pub" "$work/local/sub"
printf 'alpha\n' >"$work/local/a.txt"
printf 'left out\n' >"$work/local/b-left.txt"
head -c 200000 /dev/urandom >"$work/local/sub/c.bin"
printf 'stale\n' >"$work/served/pub/stale.txt"
export HOME="$work"
start_ftpd "$server_script" "$work/served"

mkdir -p "$(dirname "$settings")"
cat >"$settings" <<SETTINGS
[\Software\Quorvin Explorer\GlobalOptions]
"DefPassiveMode"=number:1
"Timeout"=number:10
[\Software\Quorvin Explorer\LocalExplorer]
"FolderPath"=string:"$work/local"
SETTINGS
local_title="Pellucor's Local Explorer"
shot() {
    [ -n "$shots" ] && import -window root "$shots/$1.png" 2>/dev/null
    return 0
}

start "ftp://127.0.0.1:$ftp_port/pub"
within 20 visible "$main_title" || fail "no main window"
within 10 visible "$local_title" || fail "no local explorer"
within 20 visible "Pellucor's Remote Explorer" || fail "the address opened no explorer"
within 20 grep -q "CWD $work/served/pub 250" "$work/ftpd.log" ||
    fail "the explorer did not go to /pub"
sleep 1

activate "$local_title"
xdotool key --clearmodifiers alt+t
sleep 0.5
xdotool key y
within 10 visible "Synchronize" || fail "Synchronize opened no dialog"
dialog=$(window "Synchronize")
activate "Synchronize"
shot synchronize-options
# Upload is the direction; deletes are asked for, then Preview.
xdotool key --clearmodifiers alt+e
sleep 0.3
xdotool key --clearmodifiers alt+p
within 20 grep -q "MLSD" "$work/ftpd.log" || fail "Preview listed nothing"
sleep 2
shot synchronize-preview
# A click on b-left.txt's check box (the second row) leaves it out.
xdotool mousemove --window "$dialog" 22 122 click 1
sleep 0.5
shot synchronize-unchecked
xdotool key --clearmodifiers alt+s
# Start asks again before it deletes anything.
within 10 visible "Synchronize" || fail "the dialog went"
sleep 1
[ -e "$work/served/pub/stale.txt" ] || fail "stale.txt went before the deletes were confirmed"
shot synchronize-confirm
xdotool key --clearmodifiers alt+y
within 30 cmp -s "$work/local/sub/c.bin" "$work/served/pub/sub/c.bin" ||
    fail "sub/c.bin did not reach the server intact"
within 10 cmp -s "$work/local/a.txt" "$work/served/pub/a.txt" || fail "a.txt did not go"
within 10 not test -e "$work/served/pub/stale.txt" || fail "stale.txt was not deleted"
[ -e "$work/served/pub/b-left.txt" ] && fail "the row left out was carried"
echo "ok: the chosen uploads went through the queue, the folder was made, the orphan deleted"
echo "    and the row left out stayed here"
sleep 1
shot synchronize-done
grep -q "STOR .*b-left.txt" "$work/ftpd.log" && fail "b-left.txt was sent"
# The report of the end.
within 10 visible "Synchronize" || fail "the end was not reported"
activate "Synchronize"
xdotool key Return
within 10 not visible "Synchronize" || fail "the report stayed"
echo "ok: the end is reported"

activate "$main_title"
xdotool key --clearmodifiers alt+F4
within 20 program_ended || fail "the program did not end"
wait "$app_pid" || fail "the program ended with status $?"
exit 0
