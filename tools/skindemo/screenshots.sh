#!/bin/sh
# Screenshots of the skinned demo window: screenshots.sh <build folder> <output folder> [skin...]
# For each skin (default: Default Graphite) writes <skin>-normal.png, <skin>-hover.png (mouse on the
# minimise button) and <skin>-pressed.png (left button held on the maximise button), taken under
# Xvfb with xdotool moving the mouse and ImageMagick's import grabbing the screen.
set -eu
build=$(cd "$1" && pwd)
out=$2
shift 2
[ $# -gt 0 ] || set -- Default Graphite
mkdir -p "$out"
out=$(cd "$out" && pwd)

for skin in "$@"; do
    xvfb-run -a -s "-screen 0 1040x768x24 -noreset" sh -eu -c '
        build=$1 out=$2 skin=$3
        # A grey desktop, so the rounded window corners show.
        display -window root -size 1040x768 xc:"#8C96A0" 2>/dev/null || true
        "$build/app/skindemo" "$skin" &
        demo=$!
        trap "kill $demo 2>/dev/null || true" EXIT
        for i in $(seq 50); do xdotool search --name "Brindle" >/dev/null 2>&1 && break; sleep 0.2; done
        sleep 1
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
    ' sh "$build" "$out" "$skin"
done
echo "screenshots in $out"
