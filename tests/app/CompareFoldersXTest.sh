#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compare Folders as a user meets it in the real program on an X server with a window manager
# (Xvfb and openbox, driven with xdotool), against a pyftpdlib server of its own on loopback:
# the remote explorer's Compare Folders toolbar button marks the rows of both file lists (a
# tint behind each row and a badge on its icon, with the legend above the list), in every view
# style with a row selected by a click; Only Differences hides the rows that are the same;
# opening a folder in the local explorer takes the remote explorer to the folder of that
# name; Compare Folders again takes the marks away. The marks are checked by the colours in
# pictures of the lists. Exits with 77 (skipped) when a tool is missing. With QX_X_SHOTS=FOLDER
# the pictures are kept there.
#
#   CompareFoldersXTest.sh PROGRAM PYFTPD_SERVER_SCRIPT
set -u
program=$(realpath "$1")
server_script=$(realpath "$2")
source "$(dirname "$0")/lib/XSession.sh"
command -v convert >/dev/null || { echo "SKIP: convert (ImageMagick) is not installed"; exit 77; }
served=$work/served/pub
local_folder=$work/local
mkdir -p "$served/docs" "$served/kind" "$local_folder/docs"
# NAME TEXT TIME: a file with its text and modification time.
put() {
    printf '%s' "$2" >"$1"
    touch -t "$3" "$1"
}
early=202512101200.00
late=202512101300.00
put "$served/same.txt" same "$early"
put "$local_folder/same.txt" same "$early"
put "$served/only-remote.txt" r "$early"
put "$local_folder/only-local.txt" l "$early"
put "$served/newer.txt" old "$early"
put "$local_folder/newer.txt" new "$late"
put "$served/older.txt" new "$late"
put "$local_folder/older.txt" old "$early"
put "$served/size.txt" "a longer text" "$early"
put "$local_folder/size.txt" short "$early"
put "$local_folder/kind" "a file here, a folder there" "$early"
put "$served/docs/inside.txt" in "$early"
put "$local_folder/docs/inside.txt" "in, changed" "$late"
start_ftpd "$server_script" "$work/served"

mkdir -p "$(dirname "$settings")"
# Both explorers one over the other, wide enough for every toolbar button, in the Details
# style at first.
cat >"$settings" <<SETTINGS
[\Software\Quorvin Explorer\GlobalOptions]
"DefPassiveMode"=number:1
"Timeout"=number:10
[\Software\Quorvin Explorer\LocalExplorer]
"FolderPath"=string:"$local_folder"
"ViewStyle"=number:3
"SortColumn"=number:1
"Left"=number:0
"Top"=number:130
"Width"=number:1000
"Height"=number:430
"FolderTreePanelWidth"=number:110
$(views_site)
"ViewStyle"=number:3
"Left"=number:0
"Top"=number:130
"Width"=number:1000
"Height"=number:430
"FolderTreePanelWidth"=number:110
"LogPanelVisible"=number:0
SETTINGS
local_title="Pellucor's Local Explorer"
remote_title="Pellucor's Remote Explorer \[user@127.0.0.1"
pictures=${QX_X_SHOTS:-$work}


# shellcheck disable=SC2119 # the program starts without arguments here
start
within 20 visible "$main_title" || fail "no main window"
within 10 visible "$local_title" || fail "no local explorer"
site_book_command c # Connect
within 20 visible "$remote_title" || fail "the site opened no explorer"
within 20 grep -q "CWD $served 250" "$work/ftpd.log" || fail "the explorer did not go to /pub"
sleep 1.5
shot_frame probe-remote "$remote_title"
shot_frame probe-local "$local_title"
# Where newer.txt is in the pictures of each style (0 to 3), local and remote: the remote list
# stands higher, its legend having no title panel above it.
newer_local=("399 160" "449 137" "165 173" "165 191")
newer_remote=("399 142" "449 119" "165 155" "165 173")
compare_button=(628 54) # after Synchronize
differences_button=(654 54)

# How many pixels of the part CROP (WxH+X+Y) of picture NAME have the colour RGB, or one near
# it by FUZZ.
count_in() { # NAME CROP RGB FUZZ
    convert "$pictures/$1.png" -crop "$2" +repage -alpha off -fuzz "$4" -fill black \
        +opaque "#$3" -fill white -opaque "#$3" -format '%[fx:round(mean*w*h)]' info:
}
# In the file list (below the legend) of the window titled TITLE; by default with a fuzz for
# the strokes of a small badge, which are smoothed.
pixels() { # NAME TITLE RGB [FUZZ]
    local crop=880x300+114+110
    [ "$2" = "$local_title" ] && crop=880x290+114+128
    count_in "$1" "$crop" "$3" "${4:-8%}"
}
# In the first row of the list in the Details style (the current row is shaded a little).
first_row() { # NAME TITLE RGB
    local crop=880x12+114+131
    [ "$2" = "$local_title" ] && crop=880x12+114+149
    count_in "$1" "$crop" "$3" 8%
}
# The tints of the rows and their badges, by mark: only here, newer here, newer there, size
# differs, a file and a folder ("same", grey, has no tint). Both lists have a row of each.
tints=(d9f2d9 d6e6fa fbe3c8 faf3c0 f7d4d4)
badges=(2e7d32 1565c0 e65100 8d6e00 c62828)
# Every badge and tint is in picture NAME, but those of the selected row's mark (SKIP): the
# selection covers the tint and shades the icon.
check_marks() { # NAME TITLE SKIP WHAT
    local mark
    for mark in "${!badges[@]}"; do
        [ "$mark" = "$3" ] && continue
        [ "$(pixels "$1" "$2" "${badges[$mark]}")" -ge 4 ] ||
            fail "$4: no badge #${badges[$mark]} in $1"
        [ "$(pixels "$1" "$2" "${tints[$mark]}")" -ge 40 ] ||
            fail "$4: no tint #${tints[$mark]} in $1"
    done
}
check_no_marks() { # NAME TITLE WHAT
    local rgb
    for rgb in "${badges[@]}" "${tints[@]}"; do
        [ "$(pixels "$1" "$2" "$rgb" 0)" -eq 0 ] || fail "$3: #$rgb is still in $1"
    done
}

click_frame "$remote_title" "${compare_button[@]}"
for style in 3 0 1 2; do
    if [ "$style" != 3 ]; then
        set_style "$local_title" "$style"
        set_style "$remote_title" "$style"
    fi
    read -r x y <<<"${newer_local[$style]}"
    click_frame "$local_title" "$x" "$y"
    shot_frame "compare-$style-local" "$local_title"
    read -r x y <<<"${newer_remote[$style]}"
    click_frame "$remote_title" "$x" "$y"
    shot_frame "compare-$style-remote" "$remote_title"
    # The selected row is newer here in the local list, newer there in the remote one.
    check_marks "compare-$style-local" "$local_title" 1 "${styles[$style]}"
    check_marks "compare-$style-remote" "$remote_title" 2 "${styles[$style]}"
    echo "ok: ${styles[$style]}: the rows of both lists carry their marks, a clicked row selected"
done
set_style "$local_title" 3
set_style "$remote_title" 3

# Only Differences: the folder and the file that are the same leave both lists, whose first
# rows are then "kind"; again, and they are back.
click_frame "$remote_title" "${differences_button[@]}"
sleep 1
shot_frame differences-local "$local_title"
shot_frame differences-remote "$remote_title"
if [ "$(first_row differences-local "$local_title" f7d4d4)" -lt 2000 ] ||
    [ "$(first_row differences-remote "$remote_title" f7d4d4)" -lt 2000 ]; then
    fail "Only Differences left rows that are the same"
fi
click_frame "$remote_title" "${differences_button[@]}"
sleep 1
shot_frame all-local "$local_title"
shot_frame all-remote "$remote_title"
if [ "$(first_row all-local "$local_title" f7d4d4)" -ge 500 ] ||
    [ "$(first_row all-remote "$remote_title" f7d4d4)" -ge 500 ]; then
    fail "the rows that are the same did not come back"
fi
echo "ok: Only Differences hides the rows that are the same, in both lists"

# A folder opened in the local explorer: the remote explorer opens the folder of that name, and
# the marks are those of the two folders (the file changed later here).
click_frame "$local_title" 152 155 2
within 10 grep -q "$served/docs" "$work/ftpd.log" ||
    fail "the remote explorer did not follow into docs"
# The remote list is filled when its listing has come.
for ((attempt = 0; ; attempt++)); do
    [ "$attempt" -lt 10 ] || fail "the marks in docs are not newer here and newer there"
    sleep 1
    shot_frame docs-local "$local_title"
    shot_frame docs-remote "$remote_title"
    [ "$(first_row docs-local "$local_title" d6e6fa)" -ge 2000 ] &&
        [ "$(first_row docs-remote "$remote_title" fbe3c8)" -ge 2000 ] && break
done
# Up One Level from the remote explorer's toolbar: the local explorer goes up too.
click_frame "$remote_title" 107 54
within 10 visible "$local_title \[$local_folder\]" || fail "the local explorer did not follow up"
echo "ok: opening a folder and going up in one explorer moves the other, with the marks"

# Compare Folders again: no marks, no legend.
click_frame "$remote_title" "${compare_button[@]}"
sleep 1
shot_frame off-local "$local_title"
shot_frame off-remote "$remote_title"
check_no_marks off-local "$local_title" "Compare Folders off"
check_no_marks off-remote "$remote_title" "Compare Folders off"
[ "$(count_in off-local 880x14+114+109 d9f2d9 0)" -eq 0 ] || fail "the legend is still shown"
echo "ok: Compare Folders again takes the marks and the legend away"

close_with_alt_f4 "$main_title"
within 20 program_ended || fail "the program still runs after alt+F4"
wait "$app_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
exit 0
