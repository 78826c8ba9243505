# The bundled store on a free loopback port with a scratch folder, for the scripts that run the
# programs against it (benchmarks, screenshots, flows). Source it, then:
#   begin_store_session                    # $work: a scratch folder, removed at exit with the store
#   start_store APPSTORE [options...]      # (re)starts the store; sets $site, fails when it cannot
#   write_servers_ini FOLDER               # FOLDER/Servers.ini pointing every server at $site
# Works in sh and bash, also under set -eu.

begin_store_session() {
    work=$(mktemp -d)
    store=""
    trap end_store_session EXIT
}

end_store_session() {
    stop_store
    rm -rf "$work"
}

stop_store() {
    if [ -n "${store:-}" ]; then
        kill "$store" 2>/dev/null || true
        wait "$store" 2>/dev/null || true
    fi
    store=""
}

start_store() {
    stop_store
    appstore_program=$1
    shift
    rm -f "$work/store.out"
    "$appstore_program" --port 0 --data "$work/store-data" "$@" >"$work/store.out" 2>"$work/store.log" &
    store=$!
    for _ in $(seq 100); do
        grep -q listening "$work/store.out" 2>/dev/null && break
        sleep 0.05
    done
    site=$(sed -n 's/^appstore listening on //p' "$work/store.out")
    if [ -z "$site" ]; then
        echo "appstore did not start" >&2
        return 1
    fi
}

write_servers_ini() {
    printf '[Store]\nSite = %s\nStatic = %s\n[Maker]\nServer = %s\n' "$site" "$site" "$site" >"$1/Servers.ini"
}
