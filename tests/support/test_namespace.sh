# Sourced by the fixtures that run a test program in a network namespace of its
# own. "ip netns exec" puts the files of $test_namespace_etc over those of /etc.

# new_test_namespace PREFIX: a namespace named PREFIX-PID with its loopback up.
new_test_namespace() {
    test_namespace="$1-$$"
    test_namespace_etc="/etc/netns/$test_namespace"
    ip netns add "$test_namespace"
    ip -n "$test_namespace" link set lo up
    mkdir -p "$test_namespace_etc"
}

remove_test_namespace() {
    if [ -n "${test_namespace:-}" ]; then
        ip netns delete "$test_namespace" 2>/dev/null || true
        rm -rf "$test_namespace_etc"
    fi
}

# stop_server_groups LEADER...: each server leads a process group of its own,
# so that stopping the group also ends the helpers it forked.
stop_server_groups() {
    local leader
    for leader in "$@"; do
        kill -TERM -- "-$leader" 2>/dev/null || true
        wait "$leader" 2>/dev/null || true
        for _ in $(seq 1 50); do
            kill -0 -- "-$leader" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL -- "-$leader" 2>/dev/null || true
    done
}
