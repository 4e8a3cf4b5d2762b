#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installation as a desktop finds it: `cmake --install` of the build into a scratch root,
# then the Debian package of the same build, unpacked into another. Each must hold the programs,
# the desktop entry that handles ftp:// addresses, the AppStream metainfo, the icon, the manual
# pages, the compiled translations and the bash completion; the desktop entry and the metainfo
# pass their validators, the program finds its German translation, the package names the
# libraries and plugins the programs need. Exits with 77 (skipped) when a tool is missing.
#
#   InstallTest.sh BUILD_DIR WITH_GUI(0|1)
set -u
build=$(realpath "$1")
gui=$2
for tool in desktop-file-validate appstreamcli cpack dpkg-deb dpkg-shlibdeps gzip; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
app_id=com.pellucor.QuorvinExplorer

# Checks the files of an installation under ROOT/usr.
check_tree() {
    local root=$1/usr what=$2 file
    local files=(bin/quorvin-ftp share/man/man1/quorvin-ftp.1.gz
        share/bash-completion/completions/quorvin-ftp share/doc/quorvin-explorer/copyright
        libexec/quorvin-explorer/quorvin-askpass libexec/quorvin-explorer/quorvin-proxy-connect)
    if [ "$gui" = 1 ]; then
        files+=(bin/quorvin-explorer share/man/man1/quorvin-explorer.1.gz
            share/quorvin-explorer/splash.jpg
            share/quorvin-explorer/translations/quorvin-explorer_de.qm
            "share/applications/$app_id.desktop"
            "share/metainfo/$app_id.metainfo.xml" "share/icons/hicolor/scalable/apps/$app_id.svg")
    fi
    for file in "${files[@]}"; do
        [ -s "$root/$file" ] || fail "$what: $file is missing"
    done
    [ -x "$root/bin/quorvin-ftp" ] || fail "$what: quorvin-ftp cannot run"
    [ -x "$root/libexec/quorvin-explorer/quorvin-askpass" ] ||
        fail "$what: ssh's askpass helper cannot run"
    [ -x "$root/libexec/quorvin-explorer/quorvin-proxy-connect" ] ||
        fail "$what: ssh's proxy connector cannot run"
    "$root/bin/quorvin-ftp" --help | grep -q "usage: quorvin-ftp" ||
        fail "$what: the installed quorvin-ftp does not show its usage"
    gzip -t "$root/share/man/man1/quorvin-ftp.1.gz" || fail "$what: the manual page is damaged"
    if command -v groff >/dev/null; then
        { zcat "$root/share/man/man1/quorvin-ftp.1.gz" | groff -man -Tutf8 -ww -z 2>"$work/groff" &&
            [ ! -s "$work/groff" ]; } || fail "$what: the manual page has faults: $(cat "$work/groff")"
    fi
    bash -n "$root/share/bash-completion/completions/quorvin-ftp" ||
        fail "$what: the bash completion does not parse"
    if [ "$gui" = 1 ]; then
        local entry="$root/share/applications/$app_id.desktop"
        desktop-file-validate "$entry" || fail "$what: the desktop entry is not valid"
        grep -q '^MimeType=.*x-scheme-handler/ftp;' "$entry" ||
            fail "$what: the desktop entry does not handle ftp:// addresses"
        grep -q '^MimeType=.*x-scheme-handler/ftps;' "$entry" ||
            fail "$what: the desktop entry does not handle ftps:// addresses"
        grep -q '^MimeType=.*x-scheme-handler/sftp;' "$entry" ||
            fail "$what: the desktop entry does not handle sftp:// addresses"
        grep -q '^Exec=quorvin-explorer %u$' "$entry" ||
            fail "$what: the desktop entry does not hand the address to the program"
        appstreamcli validate --no-net "$root/share/metainfo/$app_id.metainfo.xml" >"$work/as" ||
            fail "$what: the metainfo is not valid: $(cat "$work/as")"
        grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
            "$root/share/metainfo/$app_id.metainfo.xml" ||
            fail "$what: the metainfo does not name the desktop entry"
    fi
    if [ "$gui" = 1 ]; then
        speaks_german "$root" "$what"
    fi
    echo "ok: $what holds every file, and they pass their checks"
}

# The installed program finds its translations: with LANGUAGE=de a bad command line is told in
# German on standard error (before the message box, which ends with the process).
speaks_german() {
    local root=$1 what=$2 pid tick
    [ -d "$work/runtime" ] || mkdir -m 700 "$work/runtime"
    env -u LC_ALL -u LC_MESSAGES LANGUAGE=de LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
        XDG_RUNTIME_DIR="$work/runtime" "$root/bin/quorvin-explorer" one two >/dev/null \
        2>"$work/german" &
    pid=$!
    for ((tick = 0; tick < 200; tick++)); do
        grep -q "Geben Sie eine Adresse" "$work/german" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    grep -q "Geben Sie eine Adresse" "$work/german" ||
        fail "$what: the program does not speak German with LANGUAGE=de: $(cat "$work/german")"
}

cmake --install "$build" --prefix "$work/installed/usr" >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 5 "$work/install.log")"
check_tree "$work/installed" "cmake --install"

(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
    fail "cpack failed: $(tail -n 20 "$work/cpack.log")"
deb=$(find "$work/package" -maxdepth 1 -name 'quorvin-explorer_*.deb' 2>/dev/null | sort | head -n 1)
[ -n "$deb" ] || fail "cpack made no quorvin-explorer_*.deb"
dpkg-deb -x "$deb" "$work/unpacked" || fail "the package does not unpack"
check_tree "$work/unpacked" "the Debian package"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libstdc++6 openssh-client; do
    grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed: $depends"
done
if [ "$gui" = 1 ]; then
    for needed in libqt6widgets6 qt6-qpa-plugins libqt6svg6; do
        grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed: $depends"
    done
fi
echo "ok: the package depends on: $depends"
