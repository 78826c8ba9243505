#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12. Idempotent and quick when
# everything is present: it only calls apt-get for packages that are missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
    qt6-base-dev qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginewidgets6 libgl-dev
    libcurl4-openssl-dev libssl-dev libcpp-httplib-dev libsqlite3-dev libzip-dev zlib1g-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils imagemagick fonts-wqy-zenhei fonts-wqy-microhei
    fonts-dejavu-core fonttools curl ccache python3
    haxe desktop-file-utils appstream librsvg2-bin libqt6svg6 qt6-translations-l10n
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# The machine may bring its own Node.js; take Debian's only when there is none.
command -v npm >/dev/null || missing+=(nodejs npm)

if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The Flash player: Ruffle's self-hosted web build from npm, one pinned version, installed globally
# so that every checkout's build copies it from the same place (see src/viewer/CMakeLists.txt).
ruffle_version=0.6.0
ruffle_dir="$(npm root -g)/@ruffle-rs/ruffle"
installed=$(node -p "require('$ruffle_dir/package.json').version" 2>/dev/null || true)
if [ "$installed" != "$ruffle_version" ]; then
    echo "installing: @ruffle-rs/ruffle@$ruffle_version"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo npm install -g --no-fund --no-audit "@ruffle-rs/ruffle@$ruffle_version"
fi
