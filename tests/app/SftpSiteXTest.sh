#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A stored FTP site turned into an SFTP site as a user does it, in the real program on an X
# server with a window manager: the site book's Properties, a click on the "Login Information"
# page, a click on the protocol choice and one on "SFTP (over SSH)" in its list, a click on
# "Use the SSH agent" and on "Save". The settings file then holds the protocol, the port that
# followed to 22, the agent switched off, and the passive mode the site had (disabled for SFTP,
# not changed). The program ends with status 0. Every wait is bounded. Exits with 77 (skipped)
# when a tool is missing. With QX_X_SHOTS=FOLDER it saves a picture of the dialog.
#
#   SftpSiteXTest.sh PROGRAM PYFTPD_SERVER_SCRIPT
# The waits hand their conditions to eval in single quotes on purpose.
# shellcheck disable=SC2016,SC2119
set -u
program=$(realpath "$1")
source "$(dirname "$0")/lib/XSession.sh"

write_one_site_settings
dialog="Pellucor's Site Book \[Site Properties\]"


start
within 20 visible "$main_title" || fail "no main window"
site_book_command r # Properties...
within 10 visible "$dialog" || fail "Properties opened no dialog"
activate "$dialog"

# Places in the dialog's layout at the test's font (the password note shows: no keyring).
click_in "$dialog" 149 44 # the "Login Information" page
click_in "$dialog" 285 76 # the protocol choice opens its list, "FTP" over the choice
click_in "$dialog" 285 99 # "SFTP (over SSH)" below it
click_in "$dialog" 116 346 # "Use the SSH agent"
if [ -n "${QX_X_SHOTS:-}" ]; then
    import -window "$(window "$dialog")" "$QX_X_SHOTS/site-properties-sftp.png"
fi
activate "$dialog"
xdotool key --clearmodifiers alt+s # Save
within 10 eval '! visible "$dialog"' || fail "Save did not close the dialog"

close_with_alt_f4 "$main_title"
within 20 eval '! kill -0 "$app_pid" 2>/dev/null' || fail "the program still runs after alt+F4"
wait "$app_pid" || fail "the program ended with status $?"

site=$(sed -n '/^\[\\Software\\Quorvin Explorer\\SiteBook\\Tree\\Shell\]$/,/^\[/p' "$settings")
grep -q '^"Protocol"=number:1$' <<<"$site" || fail "the site was not saved as SFTP: $site"
grep -q '^"Port"=number:22$' <<<"$site" || fail "the port did not follow to 22: $site"
grep -q '^"SshUseAgent"=number:0$' <<<"$site" || fail "the agent was not switched off: $site"
grep -q '^"PassiveMode"=number:1$' <<<"$site" || fail "passive mode changed: $site"
echo "ok: the site is saved as SFTP on port 22 without the agent, its FTP settings kept"
exit 0
