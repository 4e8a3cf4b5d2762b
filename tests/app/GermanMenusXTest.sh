#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a real process under X with LANGUAGE=de speaks German: the site book comes
# under its German title, the View menu opens by its German access key (Alt+A, "&Ansicht") and
# "Globale &Einstellungen..." shows the dialog with its German title, and File > Exit by the
# German keys (Alt+D, "&Datei", then B, "&Beenden") ends the program; none of these keys does
# anything in the English menus. With SCREENSHOTS=folder, pictures of the menu and the dialog
# are kept there. Every wait is bounded. Exits with 77 (skipped) when a tool is missing.
#
#   GermanMenusXTest.sh PROGRAM PYFTPD_SERVER_SCRIPT
set -u
program=$(realpath "$1")
source "$(dirname "$0")/lib/XSession.sh"
app_language=de

# shot NAME: a picture of the screen.
shot() {
    [ -n "${SCREENSHOTS:-}" ] && command -v import >/dev/null || return 0
    import -window root "$SCREENSHOTS/$1.png" 2>/dev/null
    return 0
}

# shellcheck disable=SC2119 # the program starts without arguments here
start
within 20 visible "$main_title" || fail "no main window"
within 10 visible "Pellucor's Serverliste" || fail "the site book did not come under its German title"
visible "Pellucor's Site Book" && fail "the site book has its English title"

activate "$main_title"
xdotool key --clearmodifiers alt+a
sleep 0.5
shot german-view-menu
xdotool key e
options="Pellucor's Quorvin Explorer r2000.2 .Globale Einstellungen"
within 10 visible "$options" || fail "Alt+A, E did not open the global options under their German title"
shot german-global-options
activate "$options"
xdotool key Escape
within 10 not visible "$options" || fail "the global options did not close"

activate "$main_title"
xdotool key --clearmodifiers alt+d
sleep 0.5
shot german-file-menu
xdotool key b
within 20 program_ended || fail "Alt+D, B (Datei > Beenden) did not end the program"
wait "$app_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "ok: German titles and menus"
