#!/usr/bin/env bash
# make deb: the Debian package BUILD/brindle_VERSION_ARCH.deb from the build in BUILD, with the
# install rules of cmake/Install.cmake laid out as a system-wide installation:
#   /usr/lib/brindle/   the programs and their read-only files, with the file SharedInstall, which
#                       keeps every user's data in their own folders (src/base/Folders.h)
#   /usr/bin/brindle    the launcher
#   /usr/share/         desktop entry, icons, AppStream data, man page brindle(1), copyright file
# Its dependencies are those of the libraries the programs link (dpkg-shlibdeps) and what they use
# at run time: the CJK font, Qt's translations and its SVG plugin (app icons). The package has no
# maintainer scripts: removing it leaves every user's data alone. lintian (installed here when
# missing) must report no errors; its other findings are printed.
#   make-deb.sh BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb="$build/brindle_${version}_${arch}.deb"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root="$stage/root"
# The desktop entry names the launcher by its installed path, /usr/bin/brindle.
DESTDIR="$root" cmake --install "$build" --prefix /usr --strip >/dev/null
mkdir -p "$root/usr/lib"
mv "$root/usr/share/brindle" "$root/usr/lib/brindle"
# The package manager keeps the list of installed files.
rm "$root/usr/lib/brindle/install_manifest.txt"
echo "Installed by the Debian package: each user's data is kept in their own folders." \
    >"$root/usr/lib/brindle/SharedInstall"

doc="$root/usr/share/doc/brindle"
mkdir -p "$doc" "$root/usr/share/man/man1"
cp "$source/desktop/debian/copyright" "$doc/copyright"
gzip -9n <"$source/desktop/brindle.1" >"$root/usr/share/man/man1/brindle.1.gz"
printf '%s\n' "brindle ($version) stable; urgency=medium" "" "  * Release $version." "" \
    " -- The Brindle developers <brindle@brindle.invalid>  $(date -R -d @"$(stat -c %Y "$source/CMakeLists.txt")")" |
    gzip -9n >"$doc/changelog.gz"

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root/usr/bin/brindle" "$root/usr/lib/brindle/Brindle" "$root/usr/lib/brindle/Sorrel" \
    "$root/usr/lib/brindle/appstore"

# dpkg-shlibdeps reads debian/control of a source package.
mkdir -p "$stage/debian" "$root/DEBIAN"
printf 'Source: brindle\n\nPackage: brindle\nArchitecture: any\n' >"$stage/debian/control"
shlibs=$(cd "$stage" && dpkg-shlibdeps -O -e root/usr/lib/brindle/Brindle -e root/usr/lib/brindle/Sorrel \
    -e root/usr/lib/brindle/appstore 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$shlibs" ] || { echo "make-deb: dpkg-shlibdeps found no dependencies" >&2; exit 1; }
size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" -e "s/@SHLIBS@/$shlibs/" \
    "$source/desktop/debian/control.in" >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -exec md5sum {} + | sort -k2 >DEBIAN/md5sums)
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"

if ! command -v lintian >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends lintian >/dev/null
fi
lintian --fail-on error --suppress-tags-from-file /dev/null "$deb"
