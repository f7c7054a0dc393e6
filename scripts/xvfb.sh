# Sourced: starts a private Xvfb display when none is set, and stops it on exit.
sc_xvfb_start() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    local n
    for n in $(seq 91 130); do
        if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then break; fi
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    SC_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X${n}" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
}

sc_xvfb_stop() {
    if [ -n "${SC_XVFB_PID:-}" ]; then kill "$SC_XVFB_PID" 2>/dev/null || true; fi
}
