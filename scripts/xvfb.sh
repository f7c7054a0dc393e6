# Sourced: starts a private Xvfb display when none is set, and stops it on exit.
sc_xvfb_start() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    local n
    for n in $(seq 91 130); do
        if [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; then continue; fi
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
        SC_XVFB_PID=$!
        for _ in $(seq 1 50); do
            if [ -e "/tmp/.X11-unix/X${n}" ]; then
                export DISPLAY=":$n"
                return 0
            fi
            # Lost the race for this display number to another server: try the next one.
            kill -0 "$SC_XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$SC_XVFB_PID" 2>/dev/null || true
        SC_XVFB_PID=
    done
    echo "Xvfb did not start on any display from :91 to :130" >&2
    return 1
}

sc_xvfb_stop() {
    if [ -n "${SC_XVFB_PID:-}" ]; then
        kill "$SC_XVFB_PID" 2>/dev/null || true
        wait "$SC_XVFB_PID" 2>/dev/null || true
        SC_XVFB_PID=
        unset DISPLAY
    fi
}
