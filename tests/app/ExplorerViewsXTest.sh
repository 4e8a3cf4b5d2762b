#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The file lists of both explorers in every view style, as a user meets them in the real program
# on an X server with a window manager (Xvfb and openbox, driven with xdotool), against a
# pyftpdlib server of its own on loopback. In each style, set from the View menu (the style
# already shown too) and restored from the settings at a start:
#  - a mouse click on a file selects it for the commands: Upload (F6) in the local explorer and
#    Download (F6) in the remote explorer carry it (the first item of each list);
#  - a file dragged from one explorer onto the other arrives: local to remote through the
#    queue's upload, remote to local through its download.
# Every effect is checked on the disks. Every wait is bounded. Exits with 77 (skipped) when a
# tool is missing. With QX_X_SHOTS=FOLDER it saves a picture of the two explorers in each style.
#
#   ExplorerViewsXTest.sh PROGRAM PYFTPD_SERVER_SCRIPT
set -u
program=$(realpath "$1")
server_script=$(realpath "$2")
source "$(dirname "$0")/lib/XSession.sh"
served=$work/served/pub
mkdir -p "$served" "$work/local"
# The remote list sorts by name ascending, the local one descending: each shows its own file
# first, also when the other's file has arrived.
remote_name=a-remote-file-with-a-long-name.bin
local_name=b-local-file-with-a-long-name.bin
head -c 70000 /dev/urandom >"$served/$remote_name"
head -c 50000 /dev/urandom >"$work/local/$local_name"
printf 'short\n' >"$served/h.c"
start_ftpd "$server_script" "$work/served"

mkdir -p "$(dirname "$settings")"
# Both explorers side by side, with the same folder tree widths; both start in the Large Icons
# style.
cat >"$settings" <<SETTINGS
[\Software\Quorvin Explorer\GlobalOptions]
"DefPassiveMode"=number:1
"Timeout"=number:10
"WhenTargetExists"=number:1
[\Software\Quorvin Explorer\LocalExplorer]
"FolderPath"=string:"$work/local"
"ViewStyle"=number:0
"SortColumn"=number:-1
"Left"=number:0
"Top"=number:130
"Width"=number:505
"Height"=number:400
"FolderTreePanelWidth"=number:140
$(views_site)
"ViewStyle"=number:0
"Left"=number:515
"Top"=number:130
"Width"=number:505
"Height"=number:400
"FolderTreePanelWidth"=number:140
"LogPanelVisible"=number:0
SETTINGS
local_title="Pellucor's Local Explorer"
remote_title="Pellucor's Remote Explorer \[user@127.0.0.1"

shot() {
    [ -n "${QX_X_SHOTS:-}" ] && import -window root "$QX_X_SHOTS/$1.png" 2>/dev/null
    return 0
}

# Starts the program and opens the site from the site book; both explorers come up.
start_both() {
    # shellcheck disable=SC2119 # the program starts without arguments here
    start
    within 20 visible "$main_title" || fail "no main window"
    within 10 visible "$local_title" || fail "no local explorer"
    site_book_command c # Connect
    within 20 visible "$remote_title" || fail "the site opened no explorer"
    within 20 grep -q "CWD $served 250" "$work/ftpd.log" || fail "the explorer did not go to /pub"
    sleep 1.5
}

stop_program() {
    close_with_alt_f4 "$main_title"
    within 20 program_ended || fail "the program did not end"
    wait "$app_pid" || fail "the program ended with status $?"
}

# Where the first item of the file list of the window titled TITLE is in STYLE (0 to 3),
# relative to the window; the lists' upper left corners are where the layout of the settings
# puts them.
list_origin() {
    if [ "$1" = "$local_title" ]; then echo "145 88"; else echo "113 70"; fi
}
item_point() { # TITLE STYLE
    local x y
    read -r x y < <(list_origin "$1")
    case $2 in
    0) echo "$((x + 55)) $((y + 18))" ;; # on the icon
    3) echo "$((x + 40)) $((y + 30))" ;; # below the column headers
    *) echo "$((x + 40)) $((y + 9))" ;;
    esac
}
empty_point() { # TITLE: an empty place of the list, low on its right
    local x y
    read -r x y < <(list_origin "$1")
    echo "$((x + 300)) $((y + 230))"
}

# Moves the pointer to X Y of the window titled TITLE.
point_at() {
    xdotool mousemove --window "$(window "$1")" "$2" "$3"
}

click_first() { # TITLE STYLE
    activate "$1"
    # shellcheck disable=SC2046
    point_at "$1" $(item_point "$1" "$2")
    xdotool click 1
    sleep 0.4
}

# Drags the first item of the window titled FROM (in style STYLE) to an empty place of the
# window titled TO, with the button held as a person does.
drag_first() { # FROM STYLE TO
    activate "$1"
    # shellcheck disable=SC2046
    point_at "$1" $(item_point "$1" "$2")
    sleep 0.2
    xdotool mousedown 1
    for _ in 1 2 3 4 5; do
        xdotool mousemove_relative 3 3
        sleep 0.05
    done
    # shellcheck disable=SC2046
    point_at "$3" $(empty_point "$3")
    sleep 0.3
    xdotool mousemove_relative 4 4
    sleep 0.3
    xdotool mouseup 1
}

# shellcheck disable=SC2317 # (run by within)
uploaded() { cmp -s "$work/local/$local_name" "$served/$local_name"; }
# shellcheck disable=SC2317 # (run by within)
downloaded() { cmp -s "$served/$remote_name" "$work/local/$remote_name"; }
# Takes away what the last check brought, so that the next one has something to carry.
reset_files() {
    rm -f "$served/$local_name" "$work/local/$remote_name"
    sleep 0.3
}

check_click() { # STYLE WHEN
    click_first "$local_title" "$1"
    xdotool key F6
    within 15 uploaded || fail "${styles[$1]} $2: a clicked file was not uploaded by F6"
    click_first "$remote_title" "$1"
    xdotool key F6
    within 15 downloaded || fail "${styles[$1]} $2: a clicked file was not downloaded by F6"
    reset_files
    echo "ok: ${styles[$1]} $2: a clicked file is selected for Upload and Download (F6)"
}

check_drag() { # STYLE WHEN
    drag_first "$local_title" "$1" "$remote_title"
    within 20 uploaded || fail "${styles[$1]} $2: a file dragged onto the remote explorer did not arrive"
    drag_first "$remote_title" "$1" "$local_title"
    within 20 downloaded || fail "${styles[$1]} $2: a file dragged onto the local explorer did not arrive"
    reset_files
    echo "ok: ${styles[$1]} $2: files dragged between the explorers arrive"
}

# 1. Restored Large Icons, then each style from the View menu (Large Icons again at the end).
start_both
check_click 0 "restored"
check_drag 0 "restored"
for style in 1 2 3 0; do
    set_style "$local_title" "$style"
    set_style "$remote_title" "$style"
    shot "explorer-views-$style"
    check_click "$style" "from the menu"
    check_drag "$style" "from the menu"
done
stop_program
grep -q '"ViewStyle"=number:0' "$settings" || fail "the style was not saved"

# 2. The Small Icons and List styles restored at a start.
for style in 1 2; do
    sed -i "s/\"ViewStyle\"=number:[0-9]/\"ViewStyle\"=number:$style/" "$settings"
    start_both
    check_drag "$style" "restored"
    stop_program
done
exit 0
