#!/usr/bin/env bash
# Memory over many games: the catalogue window as Brindle runs it, against the bundled store, opens
# GAMES movie apps one after the other (default 100, the store's movie apps in turn), each until its
# movie plays and then closed, and prints the PSS of the process and its web-engine processes at the
# start and after every 10 games, each once the ready player is warm (and the main process's own,
# the tree's private memory and the player page's process's). Goal: after the first 10, the tree
# grows by less than 0.3 MB a game. RETIRE_AFTER=N in the environment retires the player page after
# N movies instead of the program's number.
#   soak.sh BUILD_FOLDER [GAMES]
set -euo pipefail
build=$(realpath "${1:-build}")
games=${2:-100}
. "$(dirname "$0")/../../scripts/lib/store-session.sh"
begin_store_session
export QT_QPA_PLATFORM=offscreen
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1

start_store "$build/app/appstore"
app="$work/app"
new_app_folder "$app" "$build"
"$app/Sorrel"
# The store's movie apps: their entry pages lead to a movie's detail page.
links=()
for id in $(seq 1 60); do
    case "$(curl -s "$site/appweb/app?id=$id")" in
    *"$site/widget/"*) links+=("$site/appweb/app?id=$id") ;;
    esac
done
[ ${#links[@]} -gt 0 ] || { echo "no movie app in the store" >&2; exit 1; }

"$build/bench/catalogue/catalogue_bench" --soak "$app" "$games" "${links[@]}" 2>"$work/soak.log" | tee "$work/soak.txt" ||
    { tail -5 "$work/soak.log" >&2; exit 1; }
# The growth is the least-squares slope over the checkpoints from game 10 on, so that no single
# checkpoint's noise (a collection that ran just before it, or just after) decides it. The tree's
# private memory is fitted too: the PSS of every process moves by megabytes whenever another
# program on the machine that shares its libraries starts or ends, the private memory does not.
awk -v games="$games" '
    function slope(v,    g, n, sx, sy, sxx, sxy) {
        for (g = 10; g <= games; g += 10)
            if (g in v) { n++; sx += g; sy += v[g]; sxx += g * g; sxy += g * v[g] }
        return n < 2 ? "" : (n * sxy - sx * sy) / (n * sxx - sx * sx) / 1024
    }
    $1 == "games" { pss[$2] = $4; main[$2] = $6; own[$2] = $8; page[$2] = $10 }
    END {
        per = slope(pss)
        if (per == "") { print "too few games for a figure" > "/dev/stderr"; exit 1 }
        printf "PSS: start %.0f MiB, after 10 games %.0f MiB, after %d games %.0f MiB\n", pss[0] / 1024, pss[10] / 1024, games, pss[games] / 1024
        printf "growth after the first 10 games (slope over the checkpoints): %.2f MiB a game, ratio %.2f (goal < 0.3 MiB)\n", per, per / 0.3
        printf "  of it the main process %.2f MiB a game, the private memory of the tree %.2f MiB a game, of the player page'"'"'s process %.2f MiB a game\n", slope(main), slope(own), slope(page)
    }' "$work/soak.txt"
