#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The local explorer in the real program, on an X server with a window manager (Xvfb and
# openbox, driven with xdotool), against a pyftpdlib server of its own on loopback:
#  - the local explorer comes at the first activation, in the folder of its settings;
#  - a remote explorer's Download (F6) puts a remote file into the local explorer's folder;
#  - Select All and Upload (F6) in the local explorer send its files to the remote explorer's
#    folder, byte for byte; a file made on disk meanwhile shows up and goes with Upload in Queue
#    (F8);
#  - the folder tree's top level holds the root "/" and then the home folder, and the current
#    folder shows under the home node; a file whose name is not valid UTF-8 is listed and
#    goes into the trash with Delete;
#  - the close box only hides the window, Shift+F2 in the main window brings it back;
#  - at the end its settings are saved under LocalExplorer.
# Every wait is bounded. Exits with 77 (skipped) when a tool is missing.
#
#   LocalExplorerXTest.sh PROGRAM PYFTPD_SERVER_SCRIPT [SCREENSHOT_FOLDER]
set -u
program=$(realpath "$1")
server_script=$(realpath "$2")
shots=${3:-}
source "$(dirname "$0")/lib/XSession.sh"
mkdir -p "$work/served/pub" "$work/local"
head -c 300000 /dev/urandom >"$work/local/hello.bin"
# The program's home folder holds the local folder, so that it shows under the tree's home node.
export HOME="$work" XDG_DATA_HOME="$work/.local/share"
printf 'remote text\n' >"$work/served/pub/remote.txt"
start_ftpd "$server_script" "$work/served"

mkdir -p "$(dirname "$settings")"
cat >"$settings" <<SETTINGS
[\Software\Quorvin Explorer\GlobalOptions]
"DefPassiveMode"=number:1
"Timeout"=number:10
[\Software\Quorvin Explorer\LocalExplorer]
"FolderPath"=string:"$work/local"
"ViewStyle"=number:3
SETTINGS
local_title="Pellucor's Local Explorer"
shot() {
    [ -n "$shots" ] && import -window root "$shots/$1.png" 2>/dev/null
    return 0
}

start "ftp://127.0.0.1:$ftp_port/pub"
within 20 visible "$main_title" || fail "no main window"
within 10 visible "$local_title" || fail "the local explorer did not come at the first activation"
window_name=$(xdotool getwindowname "$(window "$local_title")")
[ "$window_name" = "$local_title [$work/local]" ] ||
    fail "the local explorer shows [$window_name], not its stored folder"
within 20 visible "Pellucor's Remote Explorer" || fail "the address opened no explorer"
within 20 grep -q "CWD $work/served/pub 250" "$work/ftpd.log" ||
    fail "the explorer did not go to /pub"
sleep 1

# Download: the remote explorer's Select All, then F6 into the local explorer's folder.
send_all_with_f6 "Pellucor's Remote Explorer" "$work/served/pub/remote.txt" "$work/local/remote.txt" 20 ||
    fail "the download did not reach the local explorer's folder"
echo "ok: a remote explorer downloads into the local explorer's folder"
shot local-explorer-download

# Upload: the local explorer's Select All, then F6 to the remote explorer's folder.
activate "$local_title"
xdotool key --clearmodifiers ctrl+a
sleep 0.3
xdotool key F6
# remote.txt is on the server already: the program asks, and Return is Skip.
within 10 visible "Pellucor's Transfer \[File Exists\]" ||
    fail "no question before the upload replaced remote.txt"
activate "Pellucor's Transfer \[File Exists\]"
xdotool key Return
within 20 cmp -s "$work/local/hello.bin" "$work/served/pub/hello.bin" ||
    fail "the upload did not reach the server intact"
grep -q "STOR $work/served/pub/remote.txt" "$work/ftpd.log" && fail "Skip sent remote.txt"
echo "ok: Upload (F6) sends the selected files to the remote explorer's folder intact, and asks"
echo "    before it replaces one there (Skip leaves it)"
sleep 1
shot local-explorer-upload

# Upload in Queue (F8): a file made on disk meanwhile appears in the list, typing its name
# selects it, and the queue carries it to the server.
head -c 120000 /dev/urandom >"$work/local/queued.bin"
sleep 1.5
activate "$local_title"
xdotool type --delay 50 queued
sleep 0.3
xdotool key F8
within 30 cmp -s "$work/local/queued.bin" "$work/served/pub/queued.bin" ||
    fail "the queued upload did not reach the server intact"
echo "ok: Upload in Queue (F8) sends a file through the queue intact"

# The folder tree: a click puts the focus in it, Home goes to the first top-level node, the
# root, and Down to the next one, the home folder (its title shows the folder it went to).
activate "$local_title"
# Clicks at X Y in the local explorer's window.
click_at() {
    xdotool mousemove --window "$(window "$local_title")" "$1" "$2" click 1
}
click_at 40 250
sleep 0.5
xdotool key Home
within 5 visible "$local_title \[/\]" || fail "Home in the tree did not go to the root /"
xdotool key Down
within 5 visible "$local_title \[$work\]" ||
    fail "the node after the root is not the home folder"
# Right opens the home node: its sub-folders come below it, the local folder among them.
xdotool key Right
sleep 0.5
found=
for ((step = 0; step < 8; step++)); do
    xdotool key Down
    if within 2 visible "$local_title \[$work/local\]"; then
        found=yes
        break
    fi
done
[ -n "$found" ] || fail "the local folder is not under the home node"
echo "ok: the folder tree's top level starts with / and the home folder, the folder under it"
shot local-explorer-tree

# A name that is not valid UTF-8: listed (typing its first letters selects it) and deleted
# into the trash on its bytes.
printf 'latin-1' >"$work/local/zz-caf$(printf '\351').txt"
sleep 1.5
activate "$local_title"
click_at 420 250 # into the list
sleep 0.3
xdotool type --delay 50 zz-caf
sleep 0.3
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key d
within 10 visible "Local Explorer Delete Confirm" || fail "Delete asked nothing"
activate "Local Explorer Delete Confirm"
xdotool key Return
within 10 test -e "$work/.local/share/Trash/files/zz-caf$(printf '\351').txt" ||
    fail "the file with a name that is not UTF-8 did not go into the trash"
[ -e "$work/local/zz-caf$(printf '\351').txt" ] && fail "the file is still in its folder"
grep -q '^Path=.*/local/zz-caf%E9.txt$' "$work/.local/share/Trash/info/zz-caf$(printf '\351').txt.trashinfo" ||
    fail "the trash's info file does not hold the percent-encoded path"
echo "ok: a file whose name is not valid UTF-8 is listed and goes into the trash"

# The close box hides; Shift+F2 of the main window shows it again.
activate "$local_title"
xdotool key --clearmodifiers alt+F4
within 5 not visible "$local_title" || fail "alt+F4 did not hide the local explorer"
kill -0 "$app_pid" 2>/dev/null || fail "closing the local explorer ended the program"
activate "$main_title"
xdotool key --clearmodifiers shift+F2
within 5 visible "$local_title" || fail "Shift+F2 did not show the local explorer"
echo "ok: the close box hides the local explorer and Shift+F2 brings it back"

activate "$main_title"
xdotool key --clearmodifiers alt+F4
within 20 program_ended || fail "the program did not end"
wait "$app_pid" || fail "the program ended with status $?"
grep -q '^\[\\Software\\Quorvin Explorer\\LocalExplorer\]' "$settings" ||
    fail "the local explorer's settings were not saved"
grep -q "\"FolderPath\"=string:\"$work/local\"" "$settings" || fail "the folder was not saved"
echo "ok: the local explorer's settings are saved at the end"
exit 0
