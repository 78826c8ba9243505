#!/bin/sh
# Screenshots of the skinned tab rows in skindemo: screenshots.sh <build folder> <output folder> [skin...]
# For each skin (default: Default Graphite) writes <skin>-tabs-hover.png (mouse on the area tab
# "音乐"), <skin>-tabs-video.png (after a click on "视频", mouse on its ninth category "纪录片") and
# <skin>-tabs-leave.png (mouse moved off the window: no tab lit), taken under Xvfb with xdotool
# and ImageMagick's import.
set -eu
build=$(cd "$1" && pwd)
out=$2
shift 2
[ $# -gt 0 ] || set -- Default Graphite
mkdir -p "$out"
out=$(cd "$out" && pwd)

for skin in "$@"; do
    xvfb-run -a -s "-screen 0 1040x768x24" sh -eu -c '
        build=$1 out=$2 skin=$3
        "$build/app/skindemo" "$skin" &
        demo=$!
        trap "kill $demo 2>/dev/null || true" EXIT
        for i in $(seq 50); do xdotool search --name "Brindle" >/dev/null 2>&1 && break; sleep 0.2; done
        sleep 1
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
    ' sh "$build" "$out" "$skin"
done
echo "screenshots in $out"
