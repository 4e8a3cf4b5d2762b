#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Find Files as a user meets it in the real program on an X server with a window manager
# (Xvfb and openbox, driven with xdotool), against a pyftpdlib server of its own on loopback:
# the remote explorer's toolbar button opens the window; a mask typed and Find clicked list
# the matches of every level below the explorer's folder; a result clicked and Download
# clicked bring the file byte for byte into the local explorer's folder; a double-click on it
# takes the explorer to its folder; a search of a large
# tree ends when Stop is clicked: its session lists nothing more. Exits with 77 (skipped) when
# a tool is missing. With QX_X_SHOTS=FOLDER the pictures are kept there.
#
#   FindFilesXTest.sh PROGRAM PYFTPD_SERVER_SCRIPT
set -u
program=$(realpath "$1")
server_script=$(realpath "$2")
source "$(dirname "$0")/lib/XSession.sh"
command -v import >/dev/null || { echo "SKIP: import (ImageMagick) is not installed"; exit 77; }
served=$work/served/pub
local_folder=$work/local
mkdir -p "$served/docs/deep" "$served/zeta" "$local_folder"
head -c 300000 /dev/urandom >"$served/docs/deep/report.dat"
printf 'not this one\n' >"$served/docs/report.txt"
printf 'found, not clicked\n' >"$served/zeta/other.dat"
# The large tree: 40 folders of 25 folders each.
for ((a = 0; a < 40; a++)); do
    for ((b = 0; b < 25; b++)); do
        mkdir -p "$served/big/a$a/b$b"
    done
done
start_ftpd "$server_script" "$work/served"

mkdir -p "$(dirname "$settings")"
cat >"$settings" <<SETTINGS
[\Software\Quorvin Explorer\GlobalOptions]
"DefPassiveMode"=number:1
"Timeout"=number:10
[\Software\Quorvin Explorer\LocalExplorer]
"FolderPath"=string:"$local_folder"
"Left"=number:0
"Top"=number:400
"Width"=number:600
"Height"=number:170
$(views_site)
"ViewStyle"=number:3
"Left"=number:0
"Top"=number:0
"Width"=number:1000
"Height"=number:400
"LogPanelVisible"=number:0
SETTINGS
local_title="Pellucor's Local Explorer"
remote_title="Pellucor's Remote Explorer \[user@127.0.0.1"
find_title="Find Files"
pictures=${QX_X_SHOTS:-$work}

# How many listings the server has answered.
listings() {
    grep -cE '\] (MLSD|LIST) ' "$work/ftpd.log"
}
# shellcheck disable=SC2317 # (run by within)
listed_at_least() { # COUNT
    [ "$(listings)" -ge "$1" ]
}

# Points of the pictures: the toolbar button (after Only Differences), and in the window the
# names field, Find, Stop, the first result and Download.
find_button=(686 54)
look_in_field=(300 41)
names_field=(300 69)
find_click=(583 183)
stop_click=(669 183)
first_result=(100 229)
download_click=(139 497)

# shellcheck disable=SC2119 # the program starts without arguments here
start
within 20 visible "$main_title" || fail "no main window"
within 10 visible "$local_title" || fail "no local explorer"
site_book_command c # Connect
within 20 visible "$remote_title" || fail "the site opened no explorer"
within 20 grep -q "CWD $served 250" "$work/ftpd.log" || fail "the explorer did not go to /pub"
sleep 1.5
shot_frame explorer "$remote_title"

click_frame "$remote_title" "${find_button[@]}"
within 10 visible "$find_title" || fail "the toolbar button opened no Find Files window"
sleep 0.5
shot_frame find-empty "$find_title"
click_frame "$find_title" "${names_field[@]}"
xdotool type --delay 60 '*.dat'
before=$(listings)
click_frame "$find_title" "${find_click[@]}"
# /pub, docs, deep, zeta, big and its 40 + 1000 folders.
within 60 listed_at_least $((before + 1045)) || fail "the search did not list every folder"
sleep 1
shot_frame find-results "$find_title"
click_frame "$find_title" "${first_result[@]}"
click_frame "$find_title" "${download_click[@]}"
within 20 cmp -s "$served/docs/deep/report.dat" "$local_folder/report.dat" ||
    fail "report.dat did not arrive intact"
[ -e "$local_folder/other.dat" ] && fail "more than the clicked result was downloaded"
echo "ok: a mask typed and Find clicked found the file three levels down; Download brought it"

# A double-click on the result: the explorer's own session goes to its folder.
explorer_session=$(grep -m 1 -oE '127\.0\.0\.1:[0-9]+-\[user\]' "$work/ftpd.log")
click_frame "$find_title" "${first_result[@]}" 2
within 10 grep -qF "$explorer_session MLSD $served/docs/deep " "$work/ftpd.log" ||
    fail "a double-click on the result did not take the explorer to its folder"
sleep 1
shot_frame explorer-deep "$remote_title"
echo "ok: a double-click on a result shows its folder in the explorer"

# Stop: a search of the large tree lists nothing more once clicked.
click_frame "$find_title" "${look_in_field[@]}"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 60 '/pub/big'
before=$(listings)
click_frame "$find_title" "${find_click[@]}"
within 30 listed_at_least $((before + 40)) || fail "the search of big did not start"
click_frame "$find_title" "${stop_click[@]}"
stopped=$(listings)
sleep 2
shot_frame find-stopped "$find_title"
[ "$(listings)" -le $((stopped + 1)) ] || fail "the search went on after Stop"
[ "$(listings)" -lt $((before + 1041)) ] || fail "the search ended before Stop was clicked"
echo "ok: Stop ends a search at once"

close_with_alt_f4 "$find_title"
close_with_alt_f4 "$main_title"
within 20 program_ended || fail "the program still runs after alt+F4"
wait "$app_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
exit 0
