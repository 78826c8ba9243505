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
# tests running side by side do not race for the first free one.
run_in_xvfb() {
    _screen=$1
    shift
    xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 $_screen" sh -eu "$self" "$@"
}
