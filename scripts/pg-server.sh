#!/usr/bin/env bash
# A throwaway PostgreSQL server for the database tests: its own cluster in a temporary folder,
# its own port, listening on 127.0.0.1 only.
#
#   eval "$(scripts/pg-server.sh start)"   # starts a fresh cluster, exports TAVRIN21_PG_CONNECT
#   scripts/pg-server.sh env               # prints the export line without starting anything
#   scripts/pg-server.sh status
#   scripts/pg-server.sh available         # succeeds when the server binaries are installed
#   scripts/pg-server.sh halt fast|immediate  # stops it the way a site's shutdown would, keeps its folder
#   scripts/pg-server.sh stop              # stops it and removes its folder; safe to call always
#
# Settings (environment): TAVRIN21_PG_PORT (55432), TAVRIN21_PG_DATA (/tmp/tavrin21-pg-PORT),
# TAVRIN21_PG_DRIVER ("PostgreSQL Unicode"). Only the export line goes to standard output.
set -euo pipefail

port=${TAVRIN21_PG_PORT:-55432}
data=${TAVRIN21_PG_DATA:-/tmp/tavrin21-pg-$port}
driver=${TAVRIN21_PG_DRIVER:-PostgreSQL Unicode}
role=tavrin21
password=tavrin21
database=tavrin21

log() { echo "pg-server: $*" >&2; }

find_bindir() {
    local candidate
    for candidate in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
        if [[ -x $candidate/initdb && -x $candidate/pg_ctl ]]; then
            echo "$candidate"
            return 0
        fi
    done
    if command -v initdb >/dev/null 2>&1; then
        dirname "$(command -v initdb)"
        return 0
    fi
    log "no PostgreSQL server binaries found (Debian: apt-get install postgresql)"
    return 1
}

# initdb and the server refuse to run as root: as root, run them as the postgres user.
as_server_user() {
    if [[ $(id -u) -eq 0 ]]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

connect_string() {
    echo "DRIVER={$driver};Server=127.0.0.1;Port=$port;Database=$database;Uid=$role;Pwd=$password;"
}

print_env() {
    echo "export TAVRIN21_PG_CONNECT='$(connect_string)'"
}

is_running() {
    local bin=$1
    [[ -f $data/PG_VERSION ]] && as_server_user "$bin/pg_ctl" -D "$data" status >/dev/null 2>&1
}

stop_server() {
    if [[ ! -e $data ]]; then
        return 0
    fi
    local bin
    bin=$(find_bindir) || true
    if [[ -n ${bin:-} ]] && is_running "$bin"; then
        as_server_user "$bin/pg_ctl" -D "$data" -m fast -w stop >/dev/null 2>&1 ||
            as_server_user "$bin/pg_ctl" -D "$data" -m immediate -w stop >/dev/null 2>&1 || true
        log "stopped the server on port $port"
    fi
    rm -rf -- "$data"
}

start_server() {
    local bin
    bin=$(find_bindir)
    stop_server
    mkdir -p -- "$data"
    chmod 700 "$data"
    if [[ $(id -u) -eq 0 ]]; then
        chown postgres:postgres "$data"
    fi
    as_server_user "$bin/initdb" -D "$data" -U postgres --auth-local=trust \
        --auth-host=scram-sha-256 --no-sync -E UTF8 --locale=C >"$data.initdb.log" 2>&1 || {
        cat "$data.initdb.log" >&2
        return 1
    }
    rm -f -- "$data.initdb.log"
    as_server_user "$bin/pg_ctl" -D "$data" -l "$data/server.log" -w -t 60 \
        -o "-p $port -k $data -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null || {
        cat "$data/server.log" >&2
        return 1
    }
    # CREATEDB: suites that change a database's settings or connection limit make their own.
    as_server_user "$bin/psql" -h "$data" -p "$port" -U postgres -d postgres -X -q \
        -v ON_ERROR_STOP=1 \
        -c "CREATE ROLE $role LOGIN CREATEDB PASSWORD '$password'" \
        -c "CREATE DATABASE $database OWNER $role" >/dev/null
    log "PostgreSQL listening on 127.0.0.1:$port, cluster in $data"
    print_env
}

case ${1:-} in
    start) start_server ;;
    stop) stop_server ;;
    halt)
        as_server_user "$(find_bindir)/pg_ctl" -D "$data" -m "${2:?usage: $0 halt fast|immediate}" \
            -w stop >/dev/null
        ;;
    env) print_env ;;
    available) find_bindir >/dev/null 2>&1 ;;
    status)
        bin=$(find_bindir)
        if is_running "$bin"; then
            log "running on port $port ($data)"
        else
            log "not running (port $port)"
            exit 1
        fi
        ;;
    *)
        echo "usage: $0 start|stop|halt MODE|env|status|available" >&2
        exit 2
        ;;
esac
