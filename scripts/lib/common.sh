# Shared by the scripts: the Debian packages the project needs and how to install them.
# shellcheck shell=bash

BUILD_PACKAGES=(cmake g++ ninja-build pkg-config ccache libasio-dev libjpeg-dev)
TEST_PACKAGES=(libgtest-dev libgmock-dev python3 python3-pyftpdlib vsftpd clang-format)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
BENCH_PACKAGES=(libbenchmark-dev curl lftp)
DEMO_PACKAGES=(python3 python3-pyftpdlib)

qx_root() {
    cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd
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
    return $status
}
