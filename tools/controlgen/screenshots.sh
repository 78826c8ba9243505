#!/bin/sh
# Screenshots of the search bar and the paging bar in Brindle against the bundled store:
# screenshots.sh <build folder> <output folder> [skin...] writes, for each skin (default: Default
# Graphite), taken under Xvfb with xdotool clicking and ImageMagick's import grabbing the screen:
# <skin>-games.png (the games area, first page), <skin>-page2.png (after the next-page button),
# <skin>-search.png (after typing "象棋 游戏" into the search box and Enter) and <skin>-bars.png
# (the search bar and the paging bar of page 2, enlarged).
set -eu
lib=$(dirname "$0")/../../scripts/lib
. "$lib/x-window.sh"
. "$lib/store-session.sh"

# Inside the virtual X server: Brindle of app folder $1, shots into $2 named after skin $3.
if [ "${1:-}" = --in-xvfb ]; then
    app=$2 out=$3 skin=$4
    QTWEBENGINE_DISABLE_SANDBOX=1 "$app/Brindle" &
    brindle=$!
    trap "kill $brindle 2>/dev/null; wait $brindle 2>/dev/null || true" EXIT
    xdotool search --sync --name "^Lumora" >/dev/null
    sleep 4
    # The window sits at (0, 0): area tabs are 80 wide from x 4 on y 27..102; the paging bar's
    # next-page button ends 7 pixels left of the category strip's right edge, at y 162..184.
    xdotool mousemove 124 63 click 1; sleep 3
    import -window root "$out/$skin-games.png"
    xdotool mousemove 955 173 click 1; sleep 3
    import -window root "$out/$skin-page2.png"
    convert "$out/$skin-page2.png" -crop 440x135+560+55 +repage -scale 200% "$out/$skin-bars.png"
    xdotool mousemove 800 83 click 1; sleep 0.5
    xdotool type --delay 250 "象棋 游戏"; xdotool key Return; sleep 3
    import -window root "$out/$skin-search.png"
    exit
fi

begin_script_session "$1" "$2"
shift 2
[ $# -gt 0 ] || set -- Default Graphite
start_store "$build/app/appstore"

for skin in "$@"; do
    # A fresh application folder per skin: the program (Sorrel left out, so the pages are built by
    # the window), the skins, the store's addresses and the settings with the skin's colours.
    app="$work/$skin"
    mkdir -p "$app"
    cp "$build/app/Brindle" "$app/"
    cp -r "$build/app/Skin" "$app/"
    write_servers_ini "$app"
    colour() { sed -n "s/^$1 *= *//p" "$app/Skin/$skin/Skin.ini" | tr -d '\r'; }
    printf '[Main]\nSkinName = %s\nLen = %s\n[Color]\nTabColor = %s\nTabBackColor = %s\nWebBackColor = %s\n' \
        "$skin" "${#skin}" "$(colour TabColor)" "$(colour TabBackColor)" "$(colour WebBackColor)" >"$app/Brindle.ini"
    run_in_xvfb 1000x728x24 --in-xvfb "$app" "$out" "$skin"
done
echo "screenshots in $out"
