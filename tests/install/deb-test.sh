#!/usr/bin/env bash
# The Debian package as a machine's administrator and its users meet it, inside an X display that
# any user may reach (the test command runs this under Xvfb with -ac). Needs root: it installs the
# package into this machine and adds two users; it is skipped (status 77) otherwise.
#   deb-test.sh BUILD SOURCE SHOTS
# make deb's script builds the package (lintian: no errors) and apt installs it. Two ordinary users
# run the installed launcher at the same time, each with a store port of their own (their copy of
# Servers.ini names it): each gets a window, and their settings, page cache, store data and web
# caches land in their own XDG folders, nothing in /usr/lib/brindle. When one quits, the other's Brindle keeps running. Removing the package
# leaves both users' data.
set -euo pipefail
[ "$(id -u)" = 0 ] || { echo "SKIP: installing the package needs root"; exit 77; }
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd) shots=$3
mkdir -p "$shots"
. "$source/scripts/lib/store-session.sh"
. "$source/scripts/lib/wait-until.sh"

scratch=$(mktemp -d)
chmod 0755 "$scratch"
users=()
cleanup() {
    for user in "${users[@]}"; do
        pkill -KILL -u "$user" 2>/dev/null || true
        userdel "$user" 2>/dev/null || true
    done
    dpkg -r brindle >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$source/scripts/make-deb.sh" "$build" >"$scratch/make-deb.log" 2>&1 || fail "make deb: $(cat "$scratch/make-deb.log")"
deb=$(head -1 "$scratch/make-deb.log")
echo "lintian on $(basename "$deb"):"
tail -n +2 "$scratch/make-deb.log"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >"$scratch/apt.log" 2>&1 ||
    fail "apt-get install: $(cat "$scratch/apt.log")"
for file in /usr/bin/brindle /usr/lib/brindle/Brindle /usr/lib/brindle/Sorrel /usr/lib/brindle/appstore \
    /usr/lib/brindle/Servers.ini /usr/lib/brindle/player/ruffle.js /usr/share/man/man1/brindle.1.gz \
    /usr/share/doc/brindle/copyright /usr/share/applications/org.brindle.Brindle.desktop \
    /usr/share/metainfo/org.brindle.Brindle.metainfo.xml; do
    [ -e "$file" ] || fail "the package lacks $file"
done
grep -qx 'Exec="/usr/bin/brindle" %F' /usr/share/applications/org.brindle.Brindle.desktop || fail "Exec line"
packaged=$(find /usr/lib/brindle | sort)

# as_user NAME COMMAND...: COMMAND run by the user NAME in their home, with a clean environment. It
# replaces the shell it runs in, so use it in a subshell: $(...) or a background job, whose process
# id is then COMMAND's.
as_user() {
    local user=$1
    shift
    cd "$scratch/$user"
    exec setpriv --reuid="$user" --regid="$user" --init-groups env -i HOME="$scratch/$user" PATH=/usr/bin:/bin \
        DISPLAY="$DISPLAY" LANG=C.UTF-8 QTWEBENGINE_DISABLE_SANDBOX=1 "$@"
}
launchers=()
for user in brindle-test-a brindle-test-b; do
    userdel "$user" 2>/dev/null || true
    useradd --no-create-home --home-dir "$scratch/$user" --shell /bin/sh "$user"
    users+=("$user")
    install -d -o "$user" -g "$user" "$scratch/$user"
    folders=$(as_user "$user" brindle --folders)
    [ "$folders" = "$(printf '数据\t%s\n设置\t%s\n缓存\t%s' "$scratch/$user/.local/share/brindle" \
        "$scratch/$user/.config/brindle" "$scratch/$user/.cache/brindle")" ] || fail "the folders of $user: $folders"
    # The copy of Servers.ini names a store port of the user's own, so each launcher starts its store.
    port=$(bundled_store_port "$scratch/$user/.config/brindle")
    [ "$port" = $((20000 + $(id -u "$user") % 10000)) ] || fail "the store port of $user: $port"
    ! store_answers "$port" || fail "port $port of $user is taken before the test"
    as_user "$user" brindle 2>>"$scratch/$user.log" &
    launchers+=($!)
done

data_landed() {
    local home=$scratch/$1
    [ -f "$home/.config/brindle/Brindle.ini" ] && [ -f "$home/.local/share/brindle/Html/HomeAll.html" ] &&
        [ -d "$home/.local/share/brindle/store-data" ] && [ -f "$home/.local/share/brindle/Brindle.lock" ] &&
        grep -q "GET /static/" "$home/.local/share/brindle/appstore.log" 2>/dev/null &&
        [ -n "$(find "$home/.cache/brindle" -type f -print -quit 2>/dev/null)" ]
}
window_of() { xdotool search --onlyvisible --pid "$(pgrep -u "$1" -x Brindle | head -1)" 2>/dev/null | head -1; }
for user in "${users[@]}"; do
    wait_until 90 data_landed "$user" || fail "the data of $user did not land: $(find "$scratch/$user" | head -50)
$(cat "$scratch/$user.log")"
    wait_until 30 window_of "$user" >/dev/null || fail "no window of $user"
    import -window "$(window_of "$user")" "$shots/$user.png"
    echo "$user: $(find "$scratch/$user/.local/share/brindle/Html" -type f | wc -l) pages in their data folder"
done
[ "$(find /usr/lib/brindle | sort)" = "$packaged" ] || fail "something was written into /usr/lib/brindle"
[ "$(stat -c %U "$scratch/brindle-test-b/.local/share/brindle/Library.db")" = brindle-test-b ] ||
    fail "the second user's library is not theirs"

# The first user quits; the second user's Brindle and store keep working.
b=$(pgrep -u brindle-test-b -x Brindle | head -1)
kill "${launchers[0]}"
wait "${launchers[0]}" 2>/dev/null || true
a_ended() { ! pgrep -u brindle-test-a -x Brindle >/dev/null; }
wait_until 30 a_ended || fail "the first user's Brindle did not end"
kill -0 "$b" || fail "the second user's Brindle ended with the first"
port_b=$(bundled_store_port "$scratch/brindle-test-b/.config/brindle")
store_answers "$port_b" || fail "the second user's store ended with the first"
kill "${launchers[1]}"
wait "${launchers[1]}" 2>/dev/null || true

DEBIAN_FRONTEND=noninteractive apt-get remove -y -q brindle >"$scratch/apt.log" 2>&1 || fail "apt-get remove"
[ ! -e /usr/lib/brindle ] || fail "/usr/lib/brindle is left after removing the package"
for user in "${users[@]}"; do
    [ -f "$scratch/$user/.local/share/brindle/Html/HomeAll.html" ] && [ -f "$scratch/$user/.config/brindle/Brindle.ini" ] ||
        fail "removing the package took the data of $user"
done
echo "The package installed, served two users at once with their own data, and was removed leaving it"
