#!/usr/bin/env bash
# A throwaway PostgreSQL server for developing and testing the cloud database.
#
#   cloud-dev-server.sh start <dir>   initdb into <dir> the first time, start the server,
#                                     print its administrator URI as the last line
#   cloud-dev-server.sh stop <dir>    stop it (the data stays for the next start)
#
# The server listens only on a Unix socket in <dir>/socket, with password authentication.
# Run by root, the server runs as the postgres user (nobody without one), which then owns
# <dir>; every parent of <dir> must let that user through.
set -euo pipefail

usage() {
    echo "usage: $0 start|stop <dir>" >&2
    exit 2
}
[ $# -eq 2 ] || usage
action=$1
case $action in start | stop) ;; *) usage ;; esac
mkdir -p -- "$2"
dir=$(cd -- "$2" && pwd)
data=$dir/data
socket=$dir/socket
password_file=$dir/admin-password

# The real binaries: a wrapper elsewhere on the PATH may behave differently.
bindir=
if command -v pg_config >/dev/null && [ -x "$(pg_config --bindir)/initdb" ]; then
    bindir=$(pg_config --bindir)
else
    for candidate in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
        if [ -x "$candidate/initdb" ]; then
            bindir=$candidate
            break
        fi
    done
fi
if [ -z "$bindir" ]; then
    echo "$0: no PostgreSQL server found (install postgresql: scripts/install-deps.sh)" >&2
    exit 1
fi

# The server refuses to run as root.
as_server=()
if [ "$(id -u)" -eq 0 ]; then
    server_user=postgres
    id -u "$server_user" >/dev/null 2>&1 || server_user=nobody
    as_server=(runuser -u "$server_user" --)
fi

if [ "$action" = stop ]; then
    if [ -f "$data/postmaster.pid" ]; then
        "${as_server[@]}" "$bindir/pg_ctl" -D "$data" -m fast -w stop >/dev/null
    fi
    exit 0
fi

if [ ${#socket} -gt 90 ]; then
    echo "$0: $dir is too long a path for a Unix socket; choose a shorter one" >&2
    exit 1
fi

if [ ! -f "$data/PG_VERSION" ]; then
    if [ -n "$(ls -A -- "$dir")" ]; then
        echo "$0: $dir is neither empty nor a folder this script made" >&2
        exit 1
    fi
    mkdir -p -- "$socket"
    (umask 077 && head -c 24 /dev/urandom | od -An -tx1 | tr -d ' \n' >"$password_file")
    if [ ${#as_server[@]} -gt 0 ]; then
        chown -R "$server_user:" "$dir"
        if ! "${as_server[@]}" test -x "$dir"; then
            echo "$0: $server_user cannot reach $dir: make its parent folders searchable" >&2
            exit 1
        fi
    fi
    "${as_server[@]}" "$bindir/initdb" -D "$data" -U postgres -E UTF8 --no-locale \
        --auth=scram-sha-256 --pwfile="$password_file" >"$dir/initdb.log" 2>&1 || {
        cat "$dir/initdb.log" >&2
        exit 1
    }
    cat >>"$data/postgresql.conf" <<EOF
listen_addresses = ''
unix_socket_directories = '$socket'
max_connections = 40
shared_buffers = 16MB
# Throwaway data: nothing needs to survive a crash of the machine.
fsync = off
synchronous_commit = off
full_page_writes = off
EOF
fi

if ! "${as_server[@]}" "$bindir/pg_ctl" -D "$data" status >/dev/null 2>&1; then
    "${as_server[@]}" "$bindir/pg_ctl" -D "$data" -l "$dir/server.log" -w -t 60 start \
        >/dev/null || {
        tail -n 20 "$dir/server.log" >&2
        exit 1
    }
fi

encode() {
    local text=$1 out= i c
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        case $c in
        [A-Za-z0-9._~-]) out+=$c ;;
        *) out+=$(printf '%%%02X' "'$c") ;;
        esac
    done
    printf '%s' "$out"
}
echo "postgresql://postgres:$(cat "$password_file")@/postgres?host=$(encode "$socket")"
