#!/bin/sh
# The window answers while the disk and the play library are busy, with real processes: Brindle
# under Xvfb against the bundled store, which serves the tests' play counter (plays.swf) in place of
# every store game, clicked with xdotool.
#
# Held library: after one play, another process (the sqlite3 shell) holds Library.db with a write
# transaction in exclusive locking mode, so that no other connection may read or write it. Brindle
# started meanwhile shows its window and changes pages on clicks (catalogue to 我的游戏 and back);
# 我的游戏 says that the records cannot be read now (library-held.png) instead of listing nothing;
# a play made meanwhile is recorded once the holder commits, and the page lists it after 重试
# (library-freed.png).
#
# Large restore: a backup of about 200 MB of saves is restored with 恢复全部存档; while its staging
# folder is in Saves/ (the restore is writing), a click on the games tab changes the page
# (library-restoring.png). The restore then ends with every save in place.
#
# How quickly the window answers is measured by bench/library (library_answer_bench), not here.
# library-busy-process.sh <build folder> <output folder>
set -eu
lib=$(dirname "$0")/../../scripts/lib
. "$lib/brindle-process.sh"

# Inside the virtual X server.
if [ "${1:-}" = --inside ]; then
    app=$2 out=$3 solread=$4 work=$5
    # The name and plays of each app as the command line lists them, most recent first.
    played() { "$app/Brindle" --list-played 2>/dev/null | tail -n +2 | cut -f2,3 | tr '\t\n' ' ;'; }
    # The picture of the window's page area, as a hash.
    page() { import -window root -crop 960x560+20+120 +repage -depth 8 ppm:- 2>/dev/null | md5sum; }
    # Clicks at X Y until the page area shows another picture than before (a click may come before
    # the window takes clicks).
    page_changes_at() {
        _before=$(page)
        for _ in $(seq 10); do
            click_at "$1" "$2"
            for _ in $(seq 20); do [ "$(page)" != "$_before" ] && return 0; sleep 0.1; done
        done
        fail "the page did not change on a click at $1 $2"
    }
    saves_count() { sol_field "$(find "$app/Saves" -name plays.sol 2>/dev/null | head -1)" count; }
    # Waits until the play counter saved the count $1.
    counted() {
        for _ in $(seq 600); do [ "$(saves_count)" = "$1" ] && return 0; sleep 0.1; done
        fail "expected the count $1, saved: $(saves_count)"
    }
    # Waits until the area of the page where the note stands (the list is empty there with one
    # game) shows more than white: the note with its 重试 button.
    note_shown() {
        for _ in $(seq 300); do
            [ "$(import -window root -crop 440x100+280+355 +repage -depth 8 ppm:- 2>/dev/null |
                identify -format %k -)" -gt 2 ] && return 0
            sleep 0.1
        done
        fail "我的游戏 does not say that the records cannot be read"
    }

    start_brindle
    open_at 442 350
    counted 1
    for _ in $(seq 100); do [ -n "$(played)" ] && break; sleep 0.1; done
    name=$(played | cut -d' ' -f1)
    [ "$(played)" = "$name 1;" ] || fail "the first play was not recorded: $(played)"
    end_brindle TERM

    # Another process holds the whole file: its shell reads commands from a pipe kept open here.
    mkfifo "$work/holder"
    sqlite3 "$app/Library.db" <"$work/holder" >"$work/holder.out" 2>&1 &
    holder=$!
    exec 3>"$work/holder"
    echo "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; UPDATE apps SET plays = plays WHERE 0; SELECT 'held';" >&3
    for _ in $(seq 100); do grep -q held "$work/holder.out" && break; sleep 0.1; done
    grep -q held "$work/holder.out" || fail "the sqlite3 shell did not hold Library.db: $(cat "$work/holder.out")"

    start_brindle
    home_shown
    page_changes_at 940 50 # 我的游戏
    note_shown
    shot library-held
    page_changes_at 124 65 # the games area
    page_changes_at 940 50
    page_changes_at 44 65 # the home page
    open_at 442 350
    counted 2

    # Brindle holds the pipe open too (started while it was open), so the shell is told to end.
    printf 'COMMIT;\n.quit\n' >&3
    exec 3>&-
    wait "$holder" || fail "the sqlite3 shell failed: $(cat "$work/holder.out")"
    for _ in $(seq 300); do [ "$(played)" = "$name 2;" ] && break; sleep 0.1; done
    [ "$(played)" = "$name 2;" ] || fail "the play made while the library was held is not recorded: $(played)"
    page_changes_at 940 50
    click_at 502 430 # 重试, or nothing when the page read the records as it showed
    # The game's row, chosen or not (its colours differ while the window is active or not): the
    # list's first row is white only when the list is empty.
    for _ in $(seq 100); do
        [ "$(colour_at 300 200)" != '#FFFFFF' ] && break
        sleep 0.2
    done
    [ "$(colour_at 300 200)" != '#FFFFFF' ] || fail "the page does not list the game after 重试"
    shot library-freed

    # A backup of 200 MB: 2000 saves of 100 KB for one movie. So many files keep the restore
    # writing for seconds (400 of 512 KB took under a second, about as long as noticing the click).
    python3 - "$work/big.zip" <<'EOF'
import struct, sys, zipfile
def save(name, text):
    header = len(text) << 1 | 1
    length = bytes([0x80 | (header >> 22) & 0x7f, 0x80 | (header >> 15) & 0x7f,
                    0x80 | (header >> 8) & 0x7f, header & 0xff])
    body = b"\x0blevel\x06" + length + text + b"\0"
    rest = b"TCSO\0\x04\0\0\0\0" + struct.pack(">H", len(name)) + name + b"\0\0\0\x03" + body
    return b"\0\xbf" + struct.pack(">I", len(rest)) + rest
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_STORED) as zip:
    for i in range(2000):
        name = b"save%d" % i
        zip.writestr("big.swf/%s.sol" % name.decode(), save(name, bytes([97 + i % 26]) * (100 * 1024)))
EOF
    page_changes_at 940 50
    click_at 815 668 # 恢复全部存档
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^恢复存档$" >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdotool search --onlyvisible --name "^恢复存档$" >/dev/null 2>&1 || fail "no file dialog for the restore"
    # The dialog stands over the middle of the window; its file name box near its foot.
    xdotool mousemove 485 477 click 1
    xdotool type --delay 5 "$work/big.zip"
    xdotool key Return
    staging() { find "$app/Saves" -maxdepth 1 -name '.restore.*' | head -1; }
    for _ in $(seq 300); do [ -n "$(staging)" ] && break; sleep 0.05; done
    [ -n "$(staging)" ] || fail "the restore did not start writing"
    page_changes_at 124 65
    [ -n "$(staging)" ] || fail "the page changed only after the restore had ended"
    shot library-restoring
    for _ in $(seq 600); do [ -z "$(staging)" ] && break; sleep 0.1; done
    [ "$(find "$app/Saves/big.swf" -name '*.sol' | wc -l)" = 2000 ] || fail "the restore did not write every save"
    end_brindle TERM
    echo "the window answered while Library.db was held and during a restore of 200 MB"
    exit
fi

begin_script_session "$1" "$2"
play_counter_app "$build"
run_in_xvfb 1000x728x24 --inside "$app" "$out" "$build/app/solread" "$work"
