#!/bin/sh
# Shows controlsdemo with its bars at 37% under a virtual X server and saves a screenshot of its
# window. Usage: tools/controlsdemo/screenshot.sh [build folder] [output.png] [controlsdemo arguments]
set -eu
build=$(cd "${1:-build}" && pwd)
out=${2:-controlsdemo.png}
[ $# -gt 2 ] && shift 2 || set --
case "$out" in /*) ;; *) out="$(pwd)/$out" ;; esac

xvfb-run -a -s "-screen 0 800x600x24" sh -c '
    app=$1; out=$2; shift 2
    "$app" --value 37 "$@" &
    pid=$!
    window=$(xdotool search --sync --name "^controlsdemo$" | head -n 1)
    sleep "${SHOT_DELAY:-1}"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
    kill "$pid"
' screenshot "$build/app/controlsdemo" "$out" "$@"
echo "$out"
