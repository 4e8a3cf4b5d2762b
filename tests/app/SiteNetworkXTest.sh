#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A site's network settings as a user sets them, in the real program on an X server with a
# window manager: the site book's Properties, a click on the "Advanced" page, the file-name
# encoding chosen in its list (Windows-1251), the global speed limits switched off and a
# download limit typed, the keep-alive interval typed; a click on the "Proxy" page, "Use this
# proxy:" and "SOCKS5" chosen in their lists, host, port, user and password typed; "Save". The
# settings file then holds each of them, the proxy password too (the test runs without a
# keyring, so it is kept in the settings file). Every wait is bounded. Exits with 77 (skipped) when a tool is missing. With QX_X_SHOTS=FOLDER it saves
# pictures of both pages.
#
#   SiteNetworkXTest.sh PROGRAM
# The waits hand their conditions to eval in single quotes on purpose.
# shellcheck disable=SC2016,SC2119
set -u
program=$(realpath "$1")
source "$(dirname "$0")/lib/XSession.sh"

write_one_site_settings
dialog="Pellucor's Site Book \[Site Properties\]"

# Replaces the text of the field at X Y with TEXT.
type_into() {
    click_in "$dialog" "$1" "$2"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$3"
    sleep 0.2
}
shot() {
    if [ -n "${QX_X_SHOTS:-}" ]; then
        import -window "$(window "$dialog")" "$QX_X_SHOTS/$1.png"
    fi
}

start
within 20 visible "$main_title" || fail "no main window"
site_book_command r # Properties...
within 10 visible "$dialog" || fail "Properties opened no dialog"
activate "$dialog"

# Places in the dialog's layout at the test's font; the lists open over their choices.
click_in "$dialog" 254 44  # the "Advanced" page
click_in "$dialog" 355 163 # "File name encoding:" opens its list
sleep 1                    # a loaded machine opens a list slowly
click_in "$dialog" 295 230 # "Windows-1251"
click_in "$dialog" 41 418  # "Use the global speed limits" off
type_into 280 446 "500"    # "Downloads:" in KiB/s
type_into 300 516 "30"     # "Keep-alive interval:" in seconds
shot site-properties-advanced
click_in "$dialog" 325 44  # the "Proxy" page
click_in "$dialog" 244 76  # the proxy choice opens its list
sleep 1                    # a loaded machine opens a list slowly
click_in "$dialog" 72 121  # "Use this proxy:"
click_in "$dialog" 282 104 # "Kind:" opens its list
sleep 1                    # a loaded machine opens a list slowly
click_in "$dialog" 129 127 # "SOCKS5"
type_into 282 132 "proxy.example.org"
type_into 282 161 "1081"
type_into 282 189 "puser"
type_into 282 217 "ppass"
shot site-properties-proxy
activate "$dialog"
xdotool key --clearmodifiers alt+s # Save
within 10 eval '! visible "$dialog"' || fail "Save did not close the dialog"

close_with_alt_f4 "$main_title"
within 20 program_ended || fail "the program still runs after alt+F4"
wait "$app_pid" || fail "the program ended with status $?"

site=$(sed -n '/^\[\\Software\\Quorvin Explorer\\SiteBook\\Tree\\Shell\]$/,/^\[/p' "$settings")
for line in '"FileNameEncoding"=string:"Windows-1251"' '"UseGlobalSpeedLimits"=number:0' \
    '"DownloadLimit"=number:512000' '"KeepAliveInterval"=number:30' '"ProxyMode"=number:2' \
    '"ProxyKind"=string:"socks5"' '"ProxyHost"=string:"proxy.example.org"' \
    '"ProxyPort"=number:1081' '"ProxyUser"=string:"puser"'; do
    grep -qxF "$line" <<<"$site" || fail "the site lacks $line: $site"
done
grep -q '"ProxyPassword"' <<<"$site" || fail "the proxy password was not kept: $site"
echo "ok: encoding, speed limit, keep-alive and proxy of the site are saved as chosen"
exit 0
