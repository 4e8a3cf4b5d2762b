# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the transfer benchmarks: a test sshd on loopback and the timing of one transfer.
# shellcheck shell=bash
# The variables set here are read by the scripts that source this file.
# shellcheck disable=SC2034

# Starts OpenSSH's sshd on a free loopback port with a configuration, host key, user key and
# known hosts of its own in WORK (SFTP by internal-sftp), and writes WORK/ssh_config for the
# clients: the user key, no agent, the known hosts that trust the server, batch mode; with
# CIPHER, that cipher. Sets sshd_pid, port and used_cipher (what ssh negotiates). Needs root
# (or /run/sshd made beforehand).
start_bench_sshd() {
    local work=$1 cipher=${2:-}
    if [ ! -d /run/sshd ]; then
        [ "$(id -u)" -eq 0 ] || { echo "sshd needs /run/sshd: run as root" >&2; return 1; }
        mkdir -p /run/sshd
    fi
    ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
    ssh-keygen -q -t ed25519 -N '' -f "$work/user_key"
    cp "$work/user_key.pub" "$work/authorized_keys"
    port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
    cat >"$work/sshd_config" <<CONF
Port $port
ListenAddress 127.0.0.1
HostKey $work/host_key
AuthorizedKeysFile $work/authorized_keys
PidFile $work/sshd.pid
UsePAM no
StrictModes no
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
Subsystem sftp internal-sftp
CONF
    printf '[127.0.0.1]:%s %s\n' "$port" "$(cat "$work/host_key.pub")" >"$work/known_hosts"
    cat >"$work/ssh_config" <<CONF
Host *
  IdentityFile $work/user_key
  IdentitiesOnly yes
  IdentityAgent none
  UserKnownHostsFile $work/known_hosts
  GlobalKnownHostsFile /dev/null
  BatchMode yes
CONF
    [ -n "$cipher" ] && printf '  Ciphers %s\n' "$cipher" >>"$work/ssh_config"
    /usr/sbin/sshd -D -f "$work/sshd_config" -E "$work/sshd.log" &
    sshd_pid=$!
    local attempt
    for attempt in $(seq 50); do
        ssh -F "$work/ssh_config" -p "$port" 127.0.0.1 true 2>/dev/null && break
        [ "$attempt" -eq 50 ] && { echo "sshd did not start" >&2; return 1; }
        sleep 0.1
    done
    used_cipher=$(ssh -v -F "$work/ssh_config" -p "$port" 127.0.0.1 true 2>&1 |
        sed -n 's/.*kex: server->client cipher: \([^ ]*\).*/\1/p' | head -n 1)
}

# Runs the exported function `transfer` with ARGS for at most BENCH_LIMIT seconds (default 300).
limited() { timeout "${BENCH_LIMIT:-300}" bash -c '"$@"' limited "$@"; }

# The seconds one transfer takes, or "failed" (also past the limit). Each timed transfer
# starts with no dirty pages left by the one before and ends once its own bytes are on the
# disk, so that the page cache's write-back is paid by the tool that left it.
seconds() {
    local start end
    sync
    start=$(date +%s.%N)
    if ! limited "$@" >/dev/null 2>&1; then
        echo failed
        return
    fi
    sync
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# MB/s (10^6 bytes) of size_mib MiB (the sourcing script's) in SECONDS.
# shellcheck disable=SC2154
mbps() { echo "$size_mib * 1.048576 / $1" | bc -l | xargs printf '%.0f'; }

# OpenSSH's sftp in batch mode running COMMAND against the sshd of start_bench_sshd in WORK.
openssh_sftp() {
    echo "$3" | sftp -q -F "$1/ssh_config" -P "$2" -b - 127.0.0.1
}
