#!/usr/bin/env bash
# Removes the installation under PREFIX that `make install` made: uninstall.sh PREFIX [--purge]
#
# The program is every file named in PREFIX/share/brindle/install_manifest.txt: the programs, the
# skins and player files as shipped, the launcher, the desktop entry, the icons and the AppStream
# data. Everything else in the application folder is the user's and stays: Brindle.ini,
# Servers.ini, Html/, Game/, Saves/, WebData/, store-data/, Update/, skins added to Skin/, logs.
# --purge then removes the application folder with all of it, and the web engine's preferences
# files that Qt keeps in the user's data folder.
set -euo pipefail
prefix=${1:?usage: uninstall.sh PREFIX [--purge]}
purge=${2:-}
app="$prefix/share/brindle"
list="$app/install_manifest.txt"

if [ -f "$list" ]; then
    mapfile -t files <"$list"
    for file in "${files[@]}"; do
        case "$file" in "" | /* | *..*) continue ;; esac # never outside the prefix
        rm -f "$prefix/$file"
    done
    rm -f "$list"
    # Folders of the application folder that held program files only.
    for file in "${files[@]}"; do
        dir=$(dirname "$file")
        while [ "$dir" != share/brindle ] && [ "${dir#share/brindle/}" != "$dir" ] &&
            rmdir "$prefix/$dir" 2>/dev/null; do
            dir=$(dirname "$dir")
        done
    done
    echo "Removed Brindle from $prefix"
elif [ -z "$purge" ]; then
    echo "No installation of Brindle in $prefix"
fi

if [ "$purge" = --purge ]; then
    # Qt's web engine keeps a small preferences file for each lasting web profile in the user's
    # data folder under the program's name, wherever the application folder is; it goes too.
    qt_data="${XDG_DATA_HOME:-$HOME/.local/share}/Brindle"
    rm -rf "$qt_data/QtWebEngine"
    rmdir "$qt_data" 2>/dev/null || true
fi
if [ "$purge" = --purge ] && [ -d "$app" ]; then
    rm -rf "$app"
    echo "Removed its data: $app"
elif [ -d "$app" ]; then
    echo "Kept your data in $app (make uninstall PURGE=1 removes it)"
fi
