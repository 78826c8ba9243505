# Waiting for X windows by name. xdotool's own --sync gives up with an X error when a window it
# looks at goes away meanwhile (the web engine makes and drops windows of its own while it starts),
# so this asks again instead.

# wait_window PATTERN [SECONDS]: prints the id of the first window whose name matches PATTERN once
# there is one; fails when none came within SECONDS (default 60).
wait_window() {
    _rounds=$(( ${2:-60} * 10 ))
    while [ "$_rounds" -gt 0 ]; do
        _id=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
        if [ -n "$_id" ]; then echo "$_id"; return 0; fi
        sleep 0.1
        _rounds=$((_rounds - 1))
    done
    return 1
}

# run_in_xvfb SCREEN ARGS...: runs the script $self again (sh -eu) with ARGS inside a virtual X
# server with one screen of SCREEN (e.g. 1000x728x24). The server takes a number of its own, so that
# tests running side by side do not race for the first free one, and it does not reset when its
# last client goes: a program that restarts itself (a skin change) would otherwise find the server
# gone for a moment.
run_in_xvfb() {
    _screen=$1
    shift
    xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 $_screen -noreset" sh -eu "$self" "$@"
}

# colour_at X Y: the colour of the screen at X Y, as #RRGGBB.
colour_at() {
    import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -1
}

# wait_colour X Y COLOUR [SECONDS]: waits until the screen at X Y shows COLOUR (#RRGGBB); fails,
# saying what it shows, when it did not within SECONDS (default 10).
wait_colour() {
    _rounds=$(( ${4:-10} * 5 ))
    while [ "$_rounds" -gt 0 ]; do
        [ "$(colour_at "$1" "$2")" = "$3" ] && return 0
        sleep 0.2
        _rounds=$((_rounds - 1))
    done
    echo "the colour at $1,$2 is $(colour_at "$1" "$2"), not $3" >&2
    return 1
}

# window_at X Y: the top-level window under the point X Y (the mouse goes there).
window_at() {
    xdotool mousemove "$1" "$2"
    xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p'
}

# on_top X Y WINDOW: waits up to five seconds until WINDOW is the top-level window at X Y.
# covered X Y WINDOW: the same until another window is there.
on_top() {
    for _ in $(seq 50); do [ "$(window_at "$1" "$2")" = "$3" ] && return 0; sleep 0.1; done
    return 1
}
covered() {
    for _ in $(seq 50); do [ "$(window_at "$1" "$2")" != "$3" ] && return 0; sleep 0.1; done
    return 1
}

# wait_painted WINDOW: waits up to ten seconds until WINDOW shows more than one colour: it has been
# painted, not only mapped.
wait_painted() {
    for _ in $(seq 50); do
        [ "$(import -window "$1" -format %k info:- 2>/dev/null)" -gt 1 ] 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}
