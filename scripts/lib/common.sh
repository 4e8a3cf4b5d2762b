# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the scripts: the Debian packages the project needs and how to install them.
# shellcheck shell=bash
# The package lists and the pids set here are read by the scripts that source this file.
# shellcheck disable=SC2034

# openssh-client: the programs start its ssh for SFTP connections.
BUILD_PACKAGES=(cmake g++ ninja-build pkg-config ccache libasio-dev libjpeg-dev libssl-dev
    qt6-base-dev qt6-multimedia-dev libqt6svg6 libqscintilla2-qt6-dev libsecret-1-dev adwaita-icon-theme
    breeze-icon-theme openssh-client qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    qt6-translations-l10n)
TEST_PACKAGES=(libgtest-dev libgmock-dev python3 python3-pyftpdlib python3-openssl openssl vsftpd clang-format
    desktop-file-utils appstream dpkg-dev clang-tidy shellcheck
    xvfb openbox xdotool poppler-utils dbus dbus-x11 gnome-keyring
    openssh-server python3-asyncssh
    microsocks)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
BENCH_PACKAGES=(libbenchmark-dev curl lftp)
DEMO_PACKAGES=(python3 python3-pyftpdlib)
SCREENSHOT_PACKAGES=(xvfb xauth openbox xdotool x11-utils imagemagick)

qx_root() {
    cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd
}

# ccache keys on paths below the checkout relative to it, so that another clone (CI's) finds
# what an earlier build compiled.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(qx_root)}"

# Brings the translation file TS up to date with the texts of src/ (lupdate, without line
# numbers, so that a change of the code does not change the file). Texts that are new come in
# unfinished; texts no longer in the sources are dropped.
qx_lupdate() {
    local lupdate=/usr/lib/qt6/bin/lupdate
    [ -x "$lupdate" ] || lupdate=$(command -v lupdate) ||
        { echo "lupdate is not installed (qt6-l10n-tools)" >&2; return 1; }
    (cd "$(qx_root)" && "$lupdate" -locations none -no-obsolete \
        -tr-function-alias QT_TRANSLATE_NOOP+=QX_TRANSLATE_NOOP src -ts "$1")
}

qx_log() {
    printf '\033[1m==> %s\033[0m\n' "$*" >&2
}

# Installs the packages that are missing, as root or through sudo. Installing does not start
# system services (vsftpd would otherwise begin to serve port 21): the tests start their own
# servers on free loopback ports.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    qx_log "Installing ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install ${missing[*]}" >&2; return 1; }
        sudo=(sudo)
    fi
    local policy=/usr/sbin/policy-rc.d created_policy=
    if [ ! -e "$policy" ]; then
        printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" >/dev/null
        "${sudo[@]}" chmod 755 "$policy"
        created_policy=1
    fi
    local status=0
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}" || {
        "${sudo[@]}" apt-get update -q &&
            "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
                --no-install-recommends "${missing[@]}"
    } || status=$?
    [ -n "$created_policy" ] && "${sudo[@]}" rm -f "$policy"
    for package in "${missing[@]}"; do
        [ "$package" = openssh-server ] && disable_ssh_service "${sudo[@]}"
    done
    return $status
}

# openssh-server's installation enables the system's ssh service for the next boot (the policy
# above only keeps it from starting now). The tests start their own sshd, so a server that the
# scripts installed is switched off again; one the machine had before is left as it was.
disable_ssh_service() {
    if command -v systemctl >/dev/null; then
        "$@" systemctl disable ssh.service ssh.socket >/dev/null 2>&1 || true
    fi
    if command -v update-rc.d >/dev/null && [ -e /etc/init.d/ssh ]; then
        "$@" update-rc.d ssh disable >/dev/null 2>&1 || true
    fi
}

# Starts vsftpd on a free loopback port for the benchmarks, serving SERVED to anonymous users
# with uploads allowed and server-to-server transfers permitted; WORK holds its configuration.
# Sets vsftpd_pid and port. Needs root.
start_vsftpd() {
    local work=$1 served=$2 tls=${3:-}
    mkdir -p "$work/empty"
    chmod 755 "$work/empty"
    port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
    cat >"$work/vsftpd.conf" <<CONF
listen=YES
listen_ipv6=NO
background=NO
listen_address=127.0.0.1
listen_port=$port
anonymous_enable=YES
local_enable=NO
no_anon_password=YES
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_umask=022
anon_root=$served
allow_writeable_chroot=YES
pasv_promiscuous=YES
port_promiscuous=YES
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
connect_from_port_20=NO
secure_chroot_dir=$work/empty
xferlog_enable=NO
max_clients=0
max_per_ip=0
CONF
    if [ -n "$tls" ]; then
        # TLS required for login and data, data sessions must resume the control session's.
        openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost \
            -keyout "$work/tls.key" -out "$work/tls.pem" >/dev/null 2>&1
        cat >>"$work/vsftpd.conf" <<CONF
ssl_enable=YES
allow_anon_ssl=YES
force_anon_logins_ssl=YES
force_anon_data_ssl=YES
require_ssl_reuse=YES
ssl_ciphers=HIGH
rsa_cert_file=$work/tls.pem
rsa_private_key_file=$work/tls.key
CONF
    fi
    /usr/sbin/vsftpd "$work/vsftpd.conf" &
    vsftpd_pid=$!
    sleep 0.5
}

# Starts the demo FTP server (pyftpdlib) on loopback, serving sample files from WORK/served to
# anonymous users and to "user" with password "secret", on PORT when given (0 or nothing: a
# free port). Sets demo_pid and demo_port.
start_demo_server() {
    local work=$1 served="$1/served" port=${2:-0}
    mkdir -p "$served/pub/reports" "$served/pub/software" "$served/photos" "$served/incoming"
    printf 'Welcome to the Quorvin Explorer demo server.\n' >"$served/README.txt"
    printf 'Quarterly figures\nline two\n' >"$served/pub/reports/q3 summary.txt"
    printf 'Annual report\n' >"$served/pub/reports/annual-2025.txt"
    head -c 1800000 /dev/urandom >"$served/pub/software/tool-1.4.2.tar.gz"
    head -c 2500000 /dev/urandom >"$served/photos/holiday-2026.jpg"
    head -c 640000 /dev/urandom >"$served/photos/harbour.png"
    ln -sfn pub/reports "$served/latest"
    /usr/bin/python3 "$(qx_root)/tests/support/pyftpd_server.py" --root "$served" --port "$port" \
        >"$work/demo-port" 2>"$work/demo-server.log" &
    demo_pid=$!
    for _ in $(seq 50); do [ -s "$work/demo-port" ] && break; sleep 0.1; done
    demo_port=$(head -n 1 "$work/demo-port")
    [ -n "$demo_port" ] || { cat "$work/demo-server.log" >&2; echo "the demo server did not start" >&2; return 1; }
}
