#!/bin/sh
# Screenshots of the skinned demo window: screenshots.sh [--tabs] <build folder> <output folder> [skin...]
# For each skin (default: Default Graphite), taken under Xvfb with xdotool moving the mouse and
# ImageMagick's import grabbing the screen:
# - the frame: <skin>-normal.png, <skin>-hover.png (mouse on the minimise button) and
#   <skin>-pressed.png (left button held on the maximise button), on a grey desktop;
# - with --tabs, the tab rows: <skin>-tabs-hover.png (mouse on the area tab "音乐"),
#   <skin>-tabs-video.png (after a click on "视频", mouse on its ninth category "纪录片") and
#   <skin>-tabs-leave.png (mouse moved off the window: no tab lit).
set -eu
. "$(dirname "$0")/../../scripts/lib/x-window.sh"

# The shots of one skin, run inside the virtual X server: skindemo is up when they start.
frame_shots() {
    # The window sits at (20, 20) and is 1000 wide; buttons are counted from its right edge:
    # close 955..999, maximise 925..955, minimise 895..925, skin menu 865..895, all from y 1 to 23.
    xdotool mousemove 500 400; sleep 0.3
    import -window root "$out/$skin-normal.png"
    xdotool mousemove $((20 + 910)) $((20 + 12)); sleep 0.6
    import -window root "$out/$skin-hover.png"
    xdotool mousemove $((20 + 940)) $((20 + 12)); sleep 0.2
    xdotool mousedown 1; sleep 0.6
    import -window root "$out/$skin-pressed.png"
    # Released outside the button: nothing happens.
    xdotool mousemove 500 400; xdotool mouseup 1; sleep 0.2
}

tabs_shots() {
    # The window sits at (20, 20); its content area starts 2, 31 inside it and the area row 4, 8
    # inside that: area tab i spans x 26 + 80 i .. 106 + 80 i, y 59 .. 134 on the screen; the
    # category row starts 87 lower, its tabs 60 wide from x 28.
    xdotool mousemove 300 90; sleep 0.6
    import -window root "$out/$skin-tabs-hover.png"
    xdotool mousemove 226 90 click 1; sleep 0.3
    xdotool mousemove 538 160; sleep 0.6
    import -window root "$out/$skin-tabs-video.png"
    xdotool mousemove 1035 760; sleep 0.6
    import -window root "$out/$skin-tabs-leave.png"
}

# Inside the virtual X server (the script starts itself there once per skin).
if [ "${1:-}" = --in-xvfb ]; then
    scene=$2 build=$3 out=$4 skin=$5
    # A grey desktop, so the rounded window corners show (the server does not reset, so it stays).
    [ "$scene" = tabs ] || display -window root -size 1040x768 xc:"#8C96A0" 2>/dev/null || true
    "$build/app/skindemo" "$skin" &
    demo=$!
    trap "kill $demo 2>/dev/null || true" EXIT
    for i in $(seq 50); do xdotool search --name "Brindle" >/dev/null 2>&1 && break; sleep 0.2; done
    sleep 1
    "${scene}_shots"
    exit
fi

scene=frame
[ "${1:-}" = --tabs ] && { scene=tabs; shift; }
build=$(cd "$1" && pwd)
out=$2
shift 2
[ $# -gt 0 ] || set -- Default Graphite
mkdir -p "$out"
out=$(cd "$out" && pwd)
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")

for skin in "$@"; do
    run_in_xvfb 1040x768x24 --in-xvfb "$scene" "$build" "$out" "$skin"
done
echo "screenshots in $out"
