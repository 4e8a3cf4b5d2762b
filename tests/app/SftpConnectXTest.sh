#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# An SFTP site of the site book in the real program on an X server with a window manager,
# against OpenSSH's sshd started here (its own configuration, host key and authorized key in a
# temporary folder, a free loopback port). The site names a key file, the agent off, and an ssh
# configuration and known-hosts file of the test ("SshConfigFile", "SshKnownHostsFile"), so ssh
# reads nothing of the user's. Connect in the site book's Site menu shows the unknown host key
# with its fingerprint; a click on Trust logs in, the explorer lists the server's folder, a
# file downloads into the local explorer's folder and one uploads from it (both compared byte
# for byte), and the known-hosts file holds the server's key afterwards. The program ends with
# status 0. Every wait is bounded. Exits with 77 (skipped) when a tool is missing. With
# QX_X_SHOTS=FOLDER it saves pictures of the question and of the explorer.
#
#   SftpConnectXTest.sh PROGRAM PYFTPD_SERVER_SCRIPT
# shellcheck disable=SC2119 # start takes the program's arguments, none here
set -u
program=$(realpath "$1")
for tool in /usr/sbin/sshd ssh ssh-keygen; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
if [ ! -d /run/sshd ]; then
    [ "$(id -u)" -eq 0 ] || { echo "SKIP: sshd needs /run/sshd (made as root)"; exit 77; }
    mkdir -p /run/sshd # privilege separation's empty folder, as the system service makes it
fi
source "$(dirname "$0")/lib/XSession.sh"

ssh_dir=$work/ssh served=$work/served
mkdir -p "$ssh_dir" "$served" "$work/local"
ssh-keygen -q -t ed25519 -N '' -C qx-host -f "$ssh_dir/host_key" || fail "ssh-keygen failed"
ssh-keygen -q -t ed25519 -N '' -C qx-user -f "$ssh_dir/user_key" || fail "ssh-keygen failed"
cp "$ssh_dir/user_key.pub" "$ssh_dir/authorized_keys"
: >"$ssh_dir/known_hosts"
port=$("$python" -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
user=$(id -un)
cat >"$ssh_dir/sshd_config" <<CONF
Port $port
ListenAddress 127.0.0.1
HostKey $ssh_dir/host_key
AuthorizedKeysFile $ssh_dir/authorized_keys
PidFile $ssh_dir/sshd.pid
UsePAM no
StrictModes no
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
AllowUsers $user
Subsystem sftp internal-sftp -d $served
CONF
cat >"$ssh_dir/ssh_config" <<CONF
Host *
  IdentitiesOnly yes
  GlobalKnownHostsFile /dev/null
CONF
/usr/sbin/sshd -D -f "$ssh_dir/sshd_config" -E "$work/sshd.log" &
children+=($!)
within 10 "$python" -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" \
    2>/dev/null || fail "sshd did not start"

head -c 400000 /dev/urandom >"$served/remote.bin"
head -c 300000 /dev/urandom >"$work/local/upload.bin"
export HOME="$work" # the local explorer's tree and the trash stay in the test's folder
mkdir -p "$(dirname "$settings")"
cat >"$settings" <<SETTINGS
[\Software\Quorvin Explorer\LocalExplorer]
"FolderPath"=string:"$work/local"
"ViewStyle"=number:3
[\Software\Quorvin Explorer\SiteBook\Tree]
@=string:"Folder"
[\Software\Quorvin Explorer\SiteBook\Tree\Shell]
@=string:"Site"
"HostName"=string:"127.0.0.1"
"Port"=number:$port
"UserName"=string:"$user"
"Protocol"=number:1
"SshKeyFile"=string:"$ssh_dir/user_key"
"SshUseAgent"=number:0
"SshConfigFile"=string:"$ssh_dir/ssh_config"
"SshKnownHostsFile"=string:"$ssh_dir/known_hosts"
SETTINGS
question="Unknown Host Key"
explorer="Pellucor's Remote Explorer \[$user@127.0.0.1"
local_title="Pellucor's Local Explorer"
shot() {
    [ -n "${QX_X_SHOTS:-}" ] && import -window "$(window "$1")" "$QX_X_SHOTS/$2.png" 2>/dev/null
    return 0
}

start
within 20 visible "$main_title" || fail "no main window"
site_book_command c # Connect
within 30 visible "$question" || fail "the unknown host key was not asked about"
activate "$question"
shot "$question" sftp-unknown-host-key
[ -s "$ssh_dir/known_hosts" ] && fail "the key was stored before the answer"

# A click on Trust, the first of the buttons at the bottom right of the question.
eval "$(xdotool getwindowgeometry --shell "$(window "$question")")"
xdotool mousemove --window "$(window "$question")" "$((WIDTH - 140))" "$((HEIGHT - 25))"
sleep 0.3
xdotool click 1
within 10 not visible "$question" || fail "the click did not answer the question"
within 30 visible "$explorer" || fail "Trust did not log in"
grep -q "$(cut -d' ' -f2 "$ssh_dir/host_key.pub")" "$ssh_dir/known_hosts" ||
    fail "the trusted key is not in the site's known-hosts file"
echo "ok: the unknown host key is asked about, Trust logs in and keeps the key in known_hosts"
sleep 1.5 # the listing
shot "$explorer" sftp-remote-explorer

# The caption names the login and the host (no address: ssh resolves it).
[ "$(xdotool getwindowname "$(window "$explorer")")" = "Pellucor's Remote Explorer [$user@127.0.0.1]" ] ||
    fail "the explorer's caption is [$(xdotool getwindowname "$(window "$explorer")")]"

# Download: a click on the server's file (the list's first row, in the list view the settings
# give) selects it, F6 sends it to the local explorer.
activate "$explorer"
xdotool mousemove --window "$(window "$explorer")" 260 79 click 1
sleep 0.3
xdotool key F6
within 30 cmp -s "$served/remote.bin" "$work/local/remote.bin" || {
    shot "$explorer" sftp-download-failed
    fail "the download did not reach the local explorer's folder intact"
}
echo "ok: a file of the server's listing downloads over SFTP, byte for byte"

# Upload: the same from the local explorer to the remote explorer's folder.
within 10 visible "$local_title" || fail "no local explorer"
activate "$local_title"
# A click on the empty part of the file list puts the focus there; typing selects by name.
xdotool mousemove --window "$(window "$local_title")" 420 250 click 1
sleep 0.3
xdotool type --delay 50 upload
sleep 0.3
xdotool key F6
within 30 cmp -s "$work/local/upload.bin" "$served/upload.bin" || {
    shot "$local_title" sftp-upload-failed
    fail "the upload did not reach the server intact"
}
echo "ok: a local file uploads over SFTP, byte for byte"

close_with_alt_f4 "$main_title"
within 20 program_ended || fail "the program still runs after alt+F4"
wait "$app_pid" || fail "the program ended with status $?"
echo "ok: the program ends with status 0"
exit 0
