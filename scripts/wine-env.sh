# Sourced by the scripts that run Windows programs: a quiet, private wine64 prefix.
# Expects WINEPREFIX to be set by the caller.
SC_WINE64=/usr/lib/wine/wine64
SC_WINESERVER=/usr/lib/wine/wineserver
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko prompts; nothing on the host is started for URL or mailto requests.
export WINEDLLOVERRIDES="mscoree,mshtml=;winebrowser.exe=d"

# Creates the prefix once (with the system DPI SC_WINE_LOGPIXELS when set) (under a lock, as ctest may start several tests at once): fonts that
# Wine's GDI can find, and no window-manager waits under Xvfb.
sc_wine_prefix_ensure() {
    [ -f "$WINEPREFIX/.sc-ready" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$WINEPREFIX/.sc-ready" ] && exit 0
        "$SC_WINE64" wineboot --init </dev/null >/dev/null 2>&1
        "$SC_WINESERVER" -w
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp -f /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
        "$SC_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        "$SC_WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            </dev/null >/dev/null 2>&1
        # The system DPI (SC_WINE_LOGPIXELS, default 96), read when the wineserver starts. Now
        # and then a Wine start fails without a word, so the value is looked for in the saved
        # registry and written again until it is there: a prefix left at 96 would fail every
        # test that needs the other DPI.
        if [ "${SC_WINE_LOGPIXELS:-96}" != 96 ]; then
            local want attempt
            want="$(printf '"LogPixels"=dword:%08x' "$SC_WINE_LOGPIXELS")"
            for attempt in 1 2 3 4 5; do
                "$SC_WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
                    /d "$SC_WINE_LOGPIXELS" /f </dev/null >/dev/null 2>&1
                "$SC_WINESERVER" -w
                grep -qF "$want" "$WINEPREFIX/user.reg" 2>/dev/null && break
            done
            if ! grep -qF "$want" "$WINEPREFIX/user.reg" 2>/dev/null; then
                echo "wine-env: could not set the system DPI $SC_WINE_LOGPIXELS in $WINEPREFIX" >&2
                exit 1
            fi
        fi
        "$SC_WINESERVER" -w
        touch "$WINEPREFIX/.sc-ready"
    ) 9>"$WINEPREFIX.lock"
}

# Starts one persistent wineserver and Wine's services, detached from the caller's pipes, so
# that each later Windows process starts in a fraction of a second. A server that is still
# running for the prefix would turn "-p" into a no-op, so it is given time to end first.
sc_wine_server_start() {
    sc_wine_prefix_ensure
    timeout 15 "$SC_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
    "$SC_WINESERVER" -p </dev/null >/dev/null 2>&1
    "$SC_WINE64" wineboot </dev/null >/dev/null 2>&1
}

sc_wine_server_stop() {
    "$SC_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
}
