#!/usr/bin/env bash
# Starts the simulated unit on a pseudo-terminal and the program on it as COM1.
# Without a display the program runs on a virtual one (xvfb-run), so the command still works
# on a server; pass a language word or other options after "--" through ARGS="...".
set -euo pipefail
build=${1:-build}
link="$PWD/$build/kestrin-sim-link"
args=(${ARGS:-})

sim_pid=""
if [ -x "$build/kestrin-sim" ]; then
    "$build/kestrin-sim" --link "$link" --memory "$PWD/$build/kestrin-sim-memory.bin" &
    sim_pid=$!
    trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
    args=(--port "1=$link" "${args[@]}")
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$build/kestrin" "${args[@]}"
else
    echo "No display found: starting the program on a virtual display (xvfb-run)."
    xvfb-run -a -s "-screen 0 1366x800x24" "$build/kestrin" "${args[@]}"
fi
