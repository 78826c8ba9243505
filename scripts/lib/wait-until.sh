# Waiting on a condition in the test and benchmark scripts. Works in sh and bash, also under set -eu.
#   wait_until SECONDS COMMAND...   true once COMMAND succeeds (tried every 0.1 s), false when the time is up
wait_until() {
    rounds=$(($1 * 10))
    shift
    for _ in $(seq "$rounds"); do "$@" && return 0; sleep 0.1; done
    return 1
}
