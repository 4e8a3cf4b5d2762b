# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Shared by the tests that run the program as a real process on an X server with a window
# manager (Xvfb and openbox, driven with xdotool), with private settings and runtime folders.
# The sourcing script sets `program`; this file makes `work` (removed at the end), starts the
# display, and gives the helpers below. Every wait is bounded. A missing tool skips (77).

python=/usr/bin/python3
[ -x "$python" ] || python=$(command -v python3)
for tool in Xvfb openbox xdotool "$python"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
children=()
cleanup() {
    local pid
    for pid in "${children[@]}"; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    local id
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        echo "  window shown: $(xdotool getwindowname "$id" 2>/dev/null)" >&2
    done
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

# Runs COMMAND... every tenth of a second until it succeeds, for at most SECONDS.
within() {
    local seconds=$1 tick
    shift
    for ((tick = 0; tick < seconds * 10; tick++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Succeeds when COMMAND... fails (for `within`, which runs a command, not a ! pipeline).
not() {
    ! "$@"
}

# Whether the program started last has ended.
program_ended() {
    ! kill -0 "$app_pid" 2>/dev/null
}

# The X server (on a free display) and the window manager.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x576x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
children+=($!)
exec 3>&-
within 10 test -s "$work/display" || fail "Xvfb did not start"
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
openbox --sm-disable >"$work/openbox.log" 2>&1 &
children+=($!)
within 10 xdotool search --classname openbox >/dev/null 2>&1 || fail "openbox did not start"

mkdir -p "$work/config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
# shellcheck disable=SC2034 # for the sourcing script
settings="$work/config/quorvin-explorer/settings.conf"

# Starts pyftpdlib (SCRIPT) serving FOLDER, with its sessions logged to ftpd.log, and further
# options of the server script; sets ftp_port.
start_ftpd() {
    "$python" "$1" --root "$2" --log-sessions "${@:3}" >"$work/ftpd-port" 2>"$work/ftpd.log" &
    children+=($!)
    within 10 test -s "$work/ftpd-port" || fail "pyftpdlib did not start (python3-pyftpdlib?)"
    # shellcheck disable=SC2034 # for the sourcing script
    ftp_port=$(head -n 1 "$work/ftpd-port")
}

# Starts the program with ARGS in the background; sets app_pid. Without a session bus the
# program keeps passwords in its settings file and never reaches the keyring of the user
# running the tests. It speaks English whatever the locale of the machine, unless the sourcing
# script sets `app_language` (LANGUAGE's list of languages, "de") after sourcing this file.
app_pid=
app_language=en
start() {
    (cd "$work" && exec env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS -u LC_ALL -u LC_MESSAGES \
        LANG=C.UTF-8 LANGUAGE="$app_language" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" \
        XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp" "${program:?}" "$@") >>"$work/program.log" 2>&1 &
    app_pid=$!
    children+=("$app_pid")
}

# The visible window whose title starts with TEXT.
window() {
    xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -n 1
}
visible() {
    [ -n "$(window "$1")" ]
}
# shellcheck disable=SC2034 # for the sourcing script
main_title="Pellucor's Quorvin Explorer"

# Makes the window titled TEXT the active one, and makes sure it stays so for a moment: a
# window the program shows on its own (the site book at the first activation) may take the
# focus right after.
activate() {
    local id attempt
    id=$(window "$1")
    [ -n "$id" ] || fail "no window $1 to activate"
    for ((attempt = 0; attempt < 10; attempt++)); do
        xdotool windowactivate --sync "$id" >/dev/null 2>&1
        sleep 0.4
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$id" ] && return 0
    done
    fail "$1 is not active"
}

# Closes the window titled TEXT with the window manager's alt+F4. On a loaded display the key
# now and then reaches the window manager while it is still moving the focus, and nothing
# happens: while the window stays up, the key is given again (a few times, then the caller's
# own check tells).
close_with_alt_f4() {
    local title=$1 attempt
    for ((attempt = 0; attempt < 3; attempt++)); do
        activate "$title"
        xdotool key --clearmodifiers alt+F4
        within 5 not visible "$title" && return 0
    done
    return 0
}

# Selects the first site of the site book and gives the command of the Site menu with the
# accelerator KEY (c Connect..., r Properties...).
site_book_command() {
    within 10 visible "Pellucor's Site Book" || fail "no site book"
    activate "Pellucor's Site Book"
    xdotool key Down # the site under the root
    sleep 0.3
    xdotool key --clearmodifiers alt+s
    sleep 0.5
    xdotool key "$1"
}

# Select All and Download or Upload (F6) in the window titled TITLE; succeeds when SOURCE has
# arrived at TARGET unchanged within SECONDS.
send_all_with_f6() {
    activate "$1"
    xdotool key --clearmodifiers ctrl+a
    sleep 0.3
    xdotool key F6
    within "$4" cmp -s "$2" "$3"
}

# The place of the window titled TITLE on the screen, frame included: "X Y WIDTH HEIGHT".
frame_of() {
    local id left right top bottom info
    id=$(window "$1")
    [ -n "$id" ] || fail "no window $1"
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | grep -oE '[0-9]+' |
        tr '\n' ' ')
    info=$(xwininfo -id "$id")
    echo "$(($(awk '/Absolute upper-left X/ {print $NF}' <<<"$info") - ${left:-0}))" \
        "$(($(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info") - ${top:-0}))" \
        "$(($(awk '/Width:/ {print $NF}' <<<"$info") + ${left:-0} + ${right:-0}))" \
        "$(($(awk '/Height:/ {print $NF}' <<<"$info") + ${top:-0} + ${bottom:-0}))"
}

# The view styles by number, as the View menu has them, and the menu's keys for them.
# shellcheck disable=SC2034 # for the sourcing script
styles=("Large Icons" "Small Icons" "List" "Details")
style_keys=(g m l d)
# Sets the view style STYLE (0 to 3) of the window titled TITLE from its View menu.
set_style() { # TITLE STYLE
    activate "$1"
    xdotool key --clearmodifiers alt+v
    sleep 0.4
    xdotool key "${style_keys[$2]}"
    sleep 0.6
}

# Clicks at X Y inside the window titled TITLE (its own coordinates) and gives it a moment.
click_in() {
    xdotool mousemove --window "$(window "$1")" "$2" "$3"
    sleep 0.3
    xdotool click 1
    sleep 0.5
}

# Settings whose site book holds one FTP site, "Shell", of user on 127.0.0.1 in passive mode.
write_one_site_settings() {
    mkdir -p "$(dirname "$settings")"
    cat >"$settings" <<SETTINGS
[\Software\Quorvin Explorer\SiteBook\Tree]
@=string:"Folder"
[\Software\Quorvin Explorer\SiteBook\Tree\Shell]
@=string:"Site"
"HostName"=string:"127.0.0.1"
"Port"=number:21
"UserName"=string:"user"
"PassiveMode"=number:1
SETTINGS
}

# Saves NAME.png in $pictures: the window titled TITLE, frame included, raised first.
shot_frame() { # NAME TITLE
    local x y w h
    activate "$2"
    sleep 0.3
    read -r x y w h < <(frame_of "$2")
    import -window root -crop "${w}x$h+$x+$y" +repage "${pictures:?}/$1.png"
}

# Clicks the point X Y of the window titled TITLE, frame included, as shot_frame has it.
click_frame() { # TITLE X Y [BUTTON-COUNT]
    local x y w h
    activate "$1"
    read -r x y w h < <(frame_of "$1")
    xdotool mousemove $((x + $2)) $((y + $3))
    sleep 0.2
    xdotool click --repeat "${4:-1}" --delay 120 1
    sleep 0.5
}

# The site book of the explorer tests, for a settings file: one site, "Views", of user "user"
# (password "secret") on the test's FTP server in passive mode, starting in /pub; the lines of
# its window follow it.
views_site() {
    cat <<SITE
[\Software\Quorvin Explorer\SiteBook\Tree]
@=string:"Folder"
[\Software\Quorvin Explorer\SiteBook\Tree\Views]
@=string:"Site"
"HostName"=string:"127.0.0.1"
"Port"=number:$ftp_port
"UserName"=string:"user"
"Password"=string:"secret"
"PassiveMode"=number:1
"InitialFolder"=string:"/pub"
SITE
}
