#!/bin/sh
# Runs a command against a private Xvfb server and returns the command's exit status.
# Usage: with_xvfb.sh command [argument ...]
# The server picks a free display and reports it through -displayfd; -noreset keeps it alive when
# a short-lived client disconnects (otherwise a later XOpenDisplay can fail). A 24-bit screen
# larger than the 800 x 800 window gives exact colours in read-back pixels.
# Without an Xvfb binary the command runs with the environment as it is (display tests then
# skip unless DISPLAY names a server).

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "with_xvfb.sh: Xvfb not found; running without a private X server" >&2
    exec "$@"
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/with_xvfb.XXXXXX") || exit 1
xvfb_pid=
command_pid=

stop_server() {
    if [ -n "$command_pid" ]; then
        kill "$command_pid" 2>/dev/null
        wait "$command_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=
    fi
    rm -rf "$dir"
}
trap 'stop_server' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

Xvfb -displayfd 9 -screen 0 1024x1024x24 -nolisten tcp -noreset \
    9>"$dir/display" >"$dir/xvfb.log" 2>&1 &
xvfb_pid=$!

# Wait up to 10 s for the display number (one line, written once the server accepts clients).
tries=0
while [ ! -s "$dir/display" ]; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null || [ "$tries" -ge 400 ]; then
        echo "with_xvfb.sh: Xvfb did not start" >&2
        cat "$dir/xvfb.log" >&2
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.025
done

DISPLAY=":$(head -n 1 "$dir/display")"
export DISPLAY
# In the background, so that a TERM or INT reaches the traps at once. A background command of
# a non-interactive shell reads /dev/null, so standard input is handed over through fd 3
# (/dev/null itself when the caller closed it).
if (exec 3<&0) 2>/dev/null; then
    exec 3<&0
else
    exec 3</dev/null
fi
"$@" <&3 3<&- &
command_pid=$!
wait "$command_pid"
status=$?
command_pid=
exit "$status"
