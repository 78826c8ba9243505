#!/bin/sh
# Brindle as a process under Xvfb against hostile input, with the bundled store serving the tests'
# play counter (plays.swf) in place of every store game:
# - saves: every game's folder in Saves/ holds a plays.sol whose value nests 200,000 arrays. The
#   first app of the home page must still start afresh (the counter saves count 1, having read
#   nothing), its hostile save must be in rejected/ and the log must say why.
# - update: the maker's server announces an update with a 100 MB page. The update check must end
#   (its line on standard error) having refused the page, no message may show, and Brindle's peak
#   memory (VmHWM) may be at most 40 MB above that of a start with a normal page, both taken at the
#   check's end.
# - socket (as root only): another user (nobody) owns the folder that XDG_RUNTIME_DIR names and
#   listens there under Brindle's socket name. Brindle must run and warn, a second start with
#   another TMPDIR must bring its window to the front over a covering window without reaching the
#   planted socket, and a request from that user, sent straight to Brindle's socket, is refused.
# hostile-process.sh <build folder> <output folder> [flows, default "saves update socket"]
set -eu
lib=$(dirname "$0")/../../scripts/lib
. "$lib/brindle-process.sh"

# The value saved under $1 in the counter's save, if there is one: in the folder of the game played,
# the one whose hostile save was moved aside (the other games' folders keep theirs).
saved() {
    rejected=$(find "$app/Saves" -type d -name rejected 2>/dev/null | head -1)
    [ -z "$rejected" ] || sol_field "$rejected/../plays.sol" "$1"
}

# Inside the virtual X server.
if [ "${1:-}" = --saves ]; then
    app=$2 out=$3 solread=$4
    start_brindle "$out/brindle-saves.log"
    open_at 442 350
    for _ in $(seq 300); do [ -n "$(saved count)" ] && break; sleep 0.1; done
    if [ "$(saved count)" != 1 ] || [ "$(saved read)" != 0 ]; then
        fail "the game did not start afresh: count $(saved count), read $(saved read)"
    fi
    viewer_shows '#20C040' # its one square
    shot saves-fresh-start
    end_brindle TERM
    exit
fi

if [ "${1:-}" = --update ]; then
    app=$2 out=$3 kind=$4 served=$5 expected=$6
    log="$out/brindle-update-$kind.log"
    start_brindle "$log"
    # The check's end, or a window of Brindle's besides the catalogue: a message box, which would
    # hold the check until it is closed.
    for _ in $(seq 600); do
        grep -q "^Brindle: update check ended: " "$log" && break
        [ -z "$(viewers)" ] || break
        sleep 0.1
    done
    shot "update-$kind"
    peak=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status")
    echo "$kind $peak" >>"$out/peaks"
    for window in $(viewers); do fail "a window showed: $(xdotool getwindowname "$window")"; done
    ended=$(sed -n 's/^Brindle: update check ended: //p' "$log")
    case "$ended" in "$expected"*) ;; *) fail "the update check ended with \"$ended\", expected \"$expected\"" ;; esac
    for _ in $(seq 100); do grep -q "^update " "$served" 2>/dev/null && break; sleep 0.1; done
    grep -q "^update " "$served" || fail "the update page was not asked for"
    end_brindle TERM
    exit
fi

if [ "${1:-}" = --socket ]; then
    app=$2 out=$3 planted=$4
    export XDG_RUNTIME_DIR=$planted
    TMPDIR=$out/tmp-one start_brindle "$out/brindle-socket.log"
    catalogue=$(wait_window "^Lumora")
    grep -q "not using $planted for the instance socket: another user owns it" "$out/brindle-socket.log" ||
        { echo "no warning about the planted folder" >&2; exit 1; }
    xmessage -geometry 700x500+150+110 -title cover "a window over the catalogue" &
    cover=$!
    wait_window "^cover$" >/dev/null
    covered 500 360 "$catalogue" || fail "the cover is not over the catalogue window"
    TMPDIR=$out/tmp-two QTWEBENGINE_DISABLE_SANDBOX=1 timeout 20 "$app/Brindle" 2>"$out/brindle-second.log" ||
        { echo "the second start failed" >&2; exit 1; }
    on_top 500 360 "$catalogue" || fail "the catalogue window was not brought to the front"
    import -window root "$out/socket-raised.png"
    kill "$cover"
    if [ -s "$planted/connections" ]; then echo "a start reached the planted socket" >&2; exit 1; fi
    # The other user, able to reach any file (as a program run by root may be), asks to be shown.
    socket=$(find /run/user/0 /tmp/brindle-0 -maxdepth 1 -name "$(cat "$planted/name")" 2>/dev/null | head -1)
    [ -S "$socket" ] || { echo "no socket of Brindle found" >&2; exit 1; }
    setpriv --reuid=65534 --regid=65534 --clear-groups --inh-caps=+dac_override --ambient-caps=+dac_override \
        /usr/bin/python3 -c '
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.connect(sys.argv[1])
try:
    s.sendall(b"show\n")
except OSError:
    pass # Brindle may have hung up already' "$socket"
    for _ in $(seq 100); do grep -q "refused a request from user 65534" "$out/brindle-socket.log" && break; sleep 0.1; done
    grep -q "refused a request from user 65534" "$out/brindle-socket.log" || { echo "the other user's request was not refused" >&2; exit 1; }
    end_brindle TERM
    exit
fi

begin_script_session "$1" "$2"
flows=${3:-saves update socket}
rm -f "$out/peaks" "$out"/brindle-*.log
play_counter_app "$build"

xvfb() { run_in_xvfb 1000x728x24 "$@"; }

case " $flows " in *" saves "*)
    python3 - "$app/Saves" "$build"/games/*.swf <<'EOF'
import os, struct, sys
# "a" = 200,000 arrays, each inside the one before (AMF3), in a .sol file as Ruffle writes it.
body = b"\x03a" + b"\x09\x03\x01" * 200000 + b"\x01\x00"
rest = b"TCSO\x00\x04\x00\x00\x00\x00" + struct.pack(">H", 5) + b"plays" + b"\x00\x00\x00\x03" + body
for game in sys.argv[2:]:
    folder = os.path.join(sys.argv[1], os.path.basename(game))
    os.makedirs(folder)
    with open(os.path.join(folder, "plays.sol"), "wb") as f:
        f.write(b"\x00\xbf" + struct.pack(">I", len(rest)) + rest)
EOF
    xvfb --saves "$app" "$out" "$build/app/solread"
    rejected=$(find "$app/Saves" -path '*/rejected/plays.sol')
    [ "$(echo "$rejected" | wc -l)" = 1 ] && [ -n "$rejected" ] || { echo "no single rejected save: $rejected" >&2; exit 1; }
    grep -q "plays.sol was not handed to the movie (values nested too deeply); moved to $rejected" \
        "$out/brindle-saves.log" || { echo "the log does not tell of the rejected save" >&2; exit 1; }
    echo "saves: the hostile save went to ${rejected#"$app/"}, the game started afresh"
esac

case " $flows " in *" update "*)
    # The maker's server: update pages of the size asked for, each request noted in $served.
    served="$work/maker-served"
    python3 - "$work/maker-port" "$served" <<'EOF' &
import http.server, sys
class Maker(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        size = int(open(sys.argv[2] + ".size").read())
        # A normal page announces the running version; the large one a new one, which would show.
        version = b"2" if size else b"1"
        head = b"[Main]\r\nVersion = " + version + b"\r\nftp = http://127.0.0.1:1/box/BrindleSetup.bin\r\nInfo = "
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        if self.path == "/box/update.html":
            self.send_header("Content-Length", str(max(size, len(head))))
        else:
            self.send_header("Content-Length", "2")
        self.end_headers()
        if self.path != "/box/update.html":
            self.wfile.write(b"ok")
            return
        sent = 0
        try:
            self.wfile.write(head)
            sent = len(head)
            chunk = b"x" * 65536
            while sent < size:
                n = min(len(chunk), size - sent)
                self.wfile.write(chunk[:n])
                sent += n
        except OSError:
            pass
        with open(sys.argv[2], "a") as log:
            log.write("update %d of %d bytes sent\n" % (sent, size))
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Maker)
open(sys.argv[1], "w").write(str(server.server_address[1]))
server.serve_forever()
EOF
    maker=$!
    for _ in $(seq 100); do [ -s "$work/maker-port" ] && break; sleep 0.1; done
    for kind in normal large; do
        app="$work/app-update-$kind"
        new_app_folder "$app" "$build"
        printf '[Store]\nSite = %s\nStatic = %s\n[Maker]\nServer = http://127.0.0.1:%s\n' "$site" "$site" \
            "$(cat "$work/maker-port")" >"$app/Servers.ini"
        if [ "$kind" = normal ]; then
            echo 0 >"$served.size"
            expected="no update (no newer version)"
        else
            echo 104857600 >"$served.size"
            expected="no update page (Longer than 65536 bytes)"
        fi
        rm -f "$served"
        xvfb --update "$app" "$out" "$kind" "$served" "$expected"
        echo "update page ($kind): $(cat "$served")"
        [ -z "$(ls -A "$app/Update" 2>/dev/null)" ] || { echo "the $kind page led to a download" >&2; exit 1; }
    done
    kill "$maker"
    normal=$(sed -n 's/^normal //p' "$out/peaks")
    large=$(sed -n 's/^large //p' "$out/peaks")
    echo "peak memory (VmHWM): normal update page $((normal / 1024)) MB, 100 MB page $((large / 1024)) MB"
    [ "$large" -le $((normal + 40 * 1024)) ] || { echo "the large page cost more than 40 MB" >&2; exit 1; }
esac

case " $flows " in *" socket "*)
    if [ "$(id -u)" != 0 ]; then
        echo "socket: skipped (needs root to act as another user)"
    else
        app="$work/app-socket"
        new_app_folder "$app" "$build"
        # The other user's folder, open to all, with a listener under Brindle's socket name.
        planted="$work/planted"
        chmod 0711 "$work" # the other user reaches the folder planted in it
        mkdir -m 0777 "$planted"
        chown 65534:65534 "$planted"
        name="Brindle-$(printf '%s0' "$app" | sha256sum | cut -c1-24)"
        echo "$name" >"$planted/name"
        setpriv --reuid=65534 --regid=65534 --clear-groups /usr/bin/python3 -c '
import os, socket, sys
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
os.chmod(sys.argv[1], 0o777)
s.listen()
while True:
    c, _ = s.accept()
    open(sys.argv[2], "a").write("connection\n")
    c.close()' "$planted/$name" "$planted/connections" &
        listener=$!
        for _ in $(seq 100); do [ -S "$planted/$name" ] && break; sleep 0.1; done
        mkdir -p "$out/tmp-one" "$out/tmp-two"
        xvfb --socket "$app" "$out" "$planted"
        kill "$listener"
        echo "socket: Brindle ran beside the planted socket, a second start raised it, the other user was refused"
    fi
esac
echo "screenshots in $out"
