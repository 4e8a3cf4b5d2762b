# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/bench-transfer --sftp: quorvin-ftp with sftp:// URLs against OpenSSH's sftp (batch
# mode), curl and lftp with sftp:// on one test sshd on loopback.
# shellcheck shell=bash

# Runs the benchmark: SIZE_MIB MiB, ROUNDS rounds, quorvin-ftp at TOOL. Every tool moves the
# file once unchanged first (curl and lftp are left out, with a row that says so, when they
# cannot: a curl without SFTP, an lftp whose sftp fails here). Within a round the tools take
# turns, in the opposite order every other round; a sync comes before each timed transfer.
# Prints MB/s (median of the rounds) and the ratios of quorvin-ftp to each tool.
bench_sftp_tools() {
    size_mib=$1
    local rounds=$2
    tool=$3
    work=$(mktemp -d)
    sshd_pid=
    # shellcheck disable=SC2317 # called by the trap
    cleanup() {
        if [ -n "$sshd_pid" ]; then kill "$sshd_pid" 2>/dev/null || true; fi
        rm -rf "$work"
    }
    trap cleanup EXIT
    served=$work/served
    mkdir -p "$served/incoming" "$work/local"
    start_bench_sshd "$work"
    user=$(id -un)
    local_file=$work/local/down.bin
    qx_log "Creating a file of $size_mib MiB"
    head -c "$((size_mib * 1024 * 1024))" /dev/urandom >"$served/file.bin"
    cp "$served/file.bin" "$work/local/upload.bin"

    export -f sftp_transfer openssh_sftp
    export tool work port served local_file user
    local who what tools=() left_out=()
    declare -A why
    qx_log "Checking that every tool moves the bytes unchanged"
    for who in qx sftp curl lftp; do
        rm -f "$local_file" "$served/incoming/"*
        if [ "$who" = curl ] && ! curl -V | grep -q '^Protocols:.* sftp'; then
            why[$who]="n/a (no sftp)"
        elif limited sftp_transfer "$who" file >"$work/check.log" 2>&1 &&
            cmp -s "$served/file.bin" "$local_file" &&
            limited sftp_transfer "$who" put >>"$work/check.log" 2>&1 &&
            cmp -s "$served/file.bin" "$served/incoming/$who.bin"; then
            tools+=("$who")
            continue
        elif [ "$who" = qx ] || [ "$who" = sftp ]; then
            echo "$who did not move the bytes unchanged:" >&2
            cat "$work/check.log" >&2
            exit 1
        else
            why[$who]="n/a (failed)"
        fi
        qx_log "$who cannot move the file over SFTP here: left out ($(tail -n 1 "$work/check.log"))"
        left_out+=("$who")
    done

    declare -A results
    local round order index
    local cases=(null file put)
    for round in $(seq "$rounds"); do
        qx_log "Round $round of $rounds"
        order=("${tools[@]}")
        if ((round % 2 == 0)); then
            order=()
            for ((index = ${#tools[@]} - 1; index >= 0; index--)); do order+=("${tools[index]}"); done
        fi
        for what in "${cases[@]}"; do
            for who in "${order[@]}"; do
                rm -f "$local_file" "$served/incoming/"*
                results[$who-$what]+="$(seconds sftp_transfer "$who" "$what") "
            done
        done
    done
    rm -f "$local_file"

    echo
    printf '%-18s %12s %14s %14s %14s %8s %8s %8s\n' "transfer" "quorvin-ftp" "OpenSSH sftp" \
        "curl" "lftp" "qx/sftp" "qx/curl" "qx/lftp"
    local label times qx row ratios median_time
    for what in "${cases[@]}"; do
        case "$what" in
            null) label="get to /dev/null" ;;
            file) label="get to a file" ;;
            put) label="put from a file" ;;
        esac
        row=("$label") ratios=() qx=
        for who in qx sftp curl lftp; do
            times=${results[$who-$what]:-}
            if [ -z "$times" ]; then
                row+=("${why[$who]:-n/a}")
                ratios+=("-")
                continue
            elif [[ "$times" == *failed* ]]; then
                row+=("failed")
                [ "$who" = qx ] || ratios+=("-")
                continue
            fi
            median_time=$(echo "$times" | median)
            row+=("$(mbps "$median_time") MB/s")
            if [ "$who" = qx ]; then
                qx=$median_time
            elif [ -n "$qx" ]; then
                ratios+=("$(printf '%.2f' "$(echo "$median_time / $qx" | bc -l)")")
            else
                ratios+=("-")
            fi
        done
        printf '%-18s %12s %14s %14s %14s %8s %8s %8s\n' "${row[@]:0:5}" "${ratios[@]:0:3}"
    done
    # shellcheck disable=SC2154 # used_cipher: set by start_bench_sshd
    echo "($size_mib MiB file, median of $rounds rounds, loopback sshd, ssh cipher $used_cipher (curl: its"
    echo " libssh2's choice); MB = 10^6 bytes; a ratio above 1 means quorvin-ftp was faster)"
}

# One transfer by one tool: who (qx, sftp, curl, lftp) and what (null, file, put).
sftp_transfer() {
    local who=$1 what=$2 target=/dev/null
    [ "$what" = file ] && target=$local_file
    local url="sftp://127.0.0.1:$port"
    case "$who" in
        qx)
            if [ "$what" = put ]; then
                "$tool" --ssh-config "$work/ssh_config" put "$work/local/upload.bin" "$url$served/incoming/qx.bin"
            else
                "$tool" --ssh-config "$work/ssh_config" get "$url$served/file.bin" "$target"
            fi
            ;;
        sftp)
            if [ "$what" = put ]; then
                openssh_sftp "$work" "$port" "put $work/local/upload.bin $served/incoming/sftp.bin"
            else
                openssh_sftp "$work" "$port" "get $served/file.bin $target"
            fi
            ;;
        curl)
            local login=(-sS --insecure -u "$user:" --key "$work/user_key" --pubkey "$work/user_key.pub")
            if [ "$what" = put ]; then
                curl "${login[@]}" -T "$work/local/upload.bin" "$url$served/incoming/curl.bin"
            else
                curl "${login[@]}" -o "$target" "$url$served/file.bin"
            fi
            ;;
        lftp)
            local settings="set sftp:connect-program 'ssh -a -x -F $work/ssh_config'; set net:max-retries 1; set xfer:clobber on"
            if [ "$what" = put ]; then
                lftp -c "$settings; open -u $user, $url; put $work/local/upload.bin -o $served/incoming/lftp.bin"
            else
                lftp -c "$settings; open -u $user, $url; get $served/file.bin -o $target"
            fi
            ;;
    esac
}
