#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs COMMAND... in a private D-Bus session with a keyring daemon (gnome-keyring) of its own,
# unlocked with a throwaway password, in a scratch home removed at the end; the command sees
# QX_TEST_KEYRING=1. Exits with 77 (skipped) when a tool is missing. Bounded: two minutes.
#
#   with_keyring.sh COMMAND [ARGS...]
set -u
for tool in dbus-run-session dbus-send gnome-keyring-daemon; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/runtime" "$scratch/data" "$scratch/config" "$scratch/cache"
chmod 700 "$scratch/runtime"
export HOME="$scratch" XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" \
    XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/runtime"
unset DISPLAY WAYLAND_DISPLAY
# shellcheck disable=SC2016 # the inner shell expands its own variables
timeout 120 dbus-run-session -- sh -c '
    printf throwaway | gnome-keyring-daemon --foreground --unlock --components=secrets \
        >"$HOME/keyring.log" 2>&1 &
    daemon=$!
    owned() {
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
            grep -q "boolean true"
    }
    tick=0
    until owned; do
        tick=$((tick + 1))
        [ $tick -gt 100 ] && { echo "the keyring daemon did not start" >&2; cat "$HOME/keyring.log" >&2; kill $daemon; exit 1; }
        sleep 0.1
    done
    QX_TEST_KEYRING=1 "$@"
    status=$?
    kill $daemon 2>/dev/null
    wait $daemon 2>/dev/null
    exit $status
' sh "$@"
