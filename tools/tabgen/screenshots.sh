#!/bin/sh
# Screenshots of the skinned tab rows in skindemo: screenshots.sh <build folder> <output folder> [skin...]
# writes <skin>-tabs-hover.png, <skin>-tabs-video.png and <skin>-tabs-leave.png for each skin
# (default: Default Graphite); the skindemo screenshot script takes them.
exec sh "$(dirname "$0")/../skindemo/screenshots.sh" --tabs "$@"
