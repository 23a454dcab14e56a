# Sourced by the scripts: the Wine prefix under the build folder and the
# settings every Wine run uses. Our TWAIN_32.DLL replaces Wine's own. Lane N
# of a parallel test run (TZ600A_LANE=N) has prefixes of its own, named with
# "-laneN".
export WINEPREFIX="$PWD/build/win32/wineprefix${TZ600A_LANE:+-lane$TZ600A_LANE}"
export WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;twain_32=n"

# Makes the prefix once; a prefix without the marker of this layout (one that
# could not be made, or one of an earlier layout) is made anew.
ensure_wine_prefix() {
    [ -f "$WINEPREFIX/.tz600a-prefix-2" ] || make_wine_prefix
}

# Makes a new prefix at $WINEPREFIX. Programs run in a virtual desktop:
# windows get frames and captions without a window manager, and closing a
# window does not wait for a window manager that never answers.
make_wine_prefix() {
    echo "Creating the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    if ! { wineboot -i &&
           wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
           wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f &&
           wine reg add 'HKCU\Software\Wine\DllOverrides' /v twain_32 /d native /f &&
           wineserver -w; } >/dev/null 2>&1; then
        echo "Cannot create the Wine prefix in $WINEPREFIX (scripts/setup.sh installs Wine)" >&2
        return 1
    fi
    touch "$WINEPREFIX/.tz600a-prefix-2"
}

# Starts the wineserver (and Wine's desktop process) apart from our output,
# so that ctest and pipes do not wait for them.
start_wineserver() {
    (wineserver -p >/dev/null 2>&1 </dev/null; wine cmd /c exit >/dev/null 2>&1 </dev/null)
}
