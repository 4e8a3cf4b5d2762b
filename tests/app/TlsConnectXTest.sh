#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# An ftps:// address in the real program against vsftpd with implicit TLS, required TLS for the
# login and the data, and TLS session reuse required: the self-signed certificate is shown and
# nothing is sent before the user answers; Cancel leaves the explorer without a login, Trust
# Once logs in and lists the folder over TLS and stores nothing, Trust Always is kept for the
# host and port and not asked again, and a certificate that changes is asked again. Each run
# of the program ends with status 0. Exits with 77
# (skipped) when vsftpd or openssl is missing or the test does not run as root (vsftpd runs
# anonymous sessions as the "ftp" user). With QX_X_SHOTS=FOLDER it saves a picture of the
# explorer connected over TLS.
#
#   TlsConnectXTest.sh PROGRAM PYFTPD_SERVER_SCRIPT
set -u
program=$(realpath "$1")
for tool in /usr/sbin/vsftpd openssl; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
{ [ "$(id -u)" -eq 0 ] && id ftp >/dev/null 2>&1; } || { echo "SKIP: needs root and the ftp user"; exit 77; }
source "$(dirname "$0")/lib/XSession.sh"

chmod 755 "$work"
served=$work/served
mkdir -p "$served" "$work/vsftpd/empty"
chmod 755 "$served" "$work/vsftpd" "$work/vsftpd/empty"
printf 'over TLS\n' >"$served/tls-proof.txt"
chmod 644 "$served/tls-proof.txt"
port=$("$python" -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
vsftpd_pid=
# Starts vsftpd on the port with a new self-signed certificate (stopping the one before).
start_vsftpd() {
    if [ -n "$vsftpd_pid" ]; then
        kill "$vsftpd_pid" 2>/dev/null
        wait "$vsftpd_pid" 2>/dev/null
    fi
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=127.0.0.1' \
        -keyout "$work/vsftpd/key.pem" -out "$work/vsftpd/cert.pem" >/dev/null 2>&1 ||
        fail "openssl made no certificate"
    cat >"$work/vsftpd/vsftpd.conf" <<CONF
listen=YES
listen_ipv6=NO
background=NO
listen_address=127.0.0.1
listen_port=$port
anonymous_enable=YES
local_enable=NO
no_anon_password=YES
anon_root=$served
allow_writeable_chroot=YES
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
secure_chroot_dir=$work/vsftpd/empty
pasv_enable=YES
xferlog_enable=NO
ftpd_banner=vsftpd TLS test server ready.
ssl_enable=YES
implicit_ssl=YES
allow_anon_ssl=YES
force_anon_logins_ssl=YES
force_anon_data_ssl=YES
require_ssl_reuse=YES
ssl_ciphers=HIGH
rsa_cert_file=$work/vsftpd/cert.pem
rsa_private_key_file=$work/vsftpd/key.pem
CONF
    chmod 600 "$work/vsftpd/vsftpd.conf"
    /usr/sbin/vsftpd "$work/vsftpd/vsftpd.conf" >"$work/vsftpd.log" 2>&1 &
    vsftpd_pid=$!
    children+=("$vsftpd_pid")
    within 10 "$python" -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" \
        2>/dev/null || fail "vsftpd did not start"
}
start_vsftpd

question="Server Certificate"
explorer="Pellucor's Remote Explorer \[anonymous@127.0.0.1"

# Cancel: the certificate is not taken, and no login follows.
start "ftps://127.0.0.1:$port/"
within 30 visible "$question" || fail "the self-signed certificate was not shown"
activate "$question"
xdotool key --clearmodifiers Escape
within 10 not visible "$question" || fail "Cancel did not close the question"
within 20 visible "Remote Explorer Error" || fail "a refused certificate gave no message"
visible "$explorer" && fail "the explorer logged in although the certificate was refused"
activate "Remote Explorer Error"
xdotool key --clearmodifiers Return
within 10 not visible "Remote Explorer Error" || fail "the message did not close"
echo "ok: a refused certificate ends the connection before the login, with a message"
close_with_alt_f4 "$main_title"
within 20 program_ended || fail "the program still runs after alt+F4"
wait "$app_pid"

# Trust Once: the login and the listing go over TLS (vsftpd refuses anything else).
start "ftps://127.0.0.1:$port/"
within 30 visible "$question" || fail "the certificate was not asked again after Cancel"
activate "$question"
xdotool key --clearmodifiers alt+o
within 30 visible "$explorer" || fail "Trust Once did not log in over TLS"
sleep 2 # the listing
if [ -n "${QX_X_SHOTS:-}" ]; then
    import -window "$(window "$explorer")" "$QX_X_SHOTS/remote-explorer-tls.png"
fi
echo "ok: Trust Once logs in and lists over implicit TLS with session reuse required"

end_program() {
    close_with_alt_f4 "$main_title"
    within 20 program_ended || fail "the program still runs after alt+F4"
    wait "$app_pid"
    status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
end_program
grep -q "TrustedCertificates" "$settings" 2>/dev/null && fail "Trust Once stored the certificate"
echo "ok: Trust Once stores nothing; the program ends with status 0"

# Trust Always: stored per host and port, and not asked again for the same certificate.
start "ftps://127.0.0.1:$port/"
within 30 visible "$question" || fail "the certificate was not asked after Trust Once"
activate "$question"
xdotool key --clearmodifiers alt+a
within 30 visible "$explorer" || fail "Trust Always did not log in"
end_program
grep -q "127.0.0.1:$port" "$settings" || fail "Trust Always stored nothing for the host and port"
start "ftps://127.0.0.1:$port/"
within 30 visible "$explorer" || fail "the trusted certificate did not log in without a question"
visible "$question" && fail "a certificate trusted always was asked again"
end_program
echo "ok: Trust Always is kept for the host and port, and the same certificate is not asked again"

# The server gets another certificate: asked again (with the warning), and Cancel refuses it.
start_vsftpd
start "ftps://127.0.0.1:$port/"
within 30 visible "$question" || fail "a changed certificate was taken silently"
activate "$question"
xdotool key --clearmodifiers Escape
within 20 visible "Remote Explorer Error" || fail "the refused changed certificate gave no message"
visible "$explorer" && fail "the explorer logged in with a refused changed certificate"
activate "Remote Explorer Error"
xdotool key --clearmodifiers Return
within 10 not visible "Remote Explorer Error" || fail "the message did not close"
end_program
echo "ok: a changed certificate is asked again, and refusing it ends the connection"
exit 0
