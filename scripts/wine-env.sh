# Sourced by the scripts: the Wine prefix of a tier under the build folder
# and the settings every Wine run uses. TZ600A_TIER chooses the tier: 32 (the
# default) runs the 32-bit build in a 32-bit prefix (build/win32/wineprefix),
# 64 the 64-bit build in a 64-bit prefix (build/win64/wineprefix). Our
# Source Managers TWAIN_32.DLL and TWAINDSM.DLL replace Wine's own. Lane N of
# a parallel test run (TZ600A_LANE=N) has prefixes of its own, named with
# "-laneN"; TZ600A_CAMERA_BRIDGE=1 chooses the 64-bit prefix's twin where the
# camera is simulated in 32-bit only, named with "-bridge".
tier=${TZ600A_TIER:-32}
prefix_name=wineprefix${TZ600A_CAMERA_BRIDGE:+-bridge}${TZ600A_LANE:+-lane$TZ600A_LANE}
export WINEPREFIX="$PWD/build/win$tier/$prefix_name"
export WINEARCH=win$tier WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;twain_32,twaindsm=n"
prefix_marker=.tz600a-prefix-3

# Makes the prefix once; a prefix without the marker of this layout (one that
# could not be made, or one of an earlier layout) is made anew.
ensure_wine_prefix() {
    [ -f "$WINEPREFIX/$prefix_marker" ] || make_wine_prefix
}

# Runs one step of making the prefix; a failure is reported with the command
# and what it printed.
prefix_step() {
    local output
    if ! output=$("$@" 2>&1); then
        echo "Cannot create the Wine prefix in $WINEPREFIX: '$*' failed:" >&2
        echo "$output" | tail -n 15 >&2
        return 1
    fi
}

# Makes a new prefix at $WINEPREFIX. Programs run in a virtual desktop:
# windows get frames and captions without a window manager, and closing a
# window does not wait for a window manager that never answers.
make_wine_prefix() {
    echo "Creating the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    if ! command -v wine >/dev/null || ! command -v wineserver >/dev/null; then
        echo "Cannot create the Wine prefix in $WINEPREFIX: wine is not installed (scripts/setup.sh installs it)" >&2
        return 1
    fi
    # wineboot of a 64-bit prefix on a machine without 32-bit Wine reports
    # the 32-bit programs it could not start; the prefix is whole all the
    # same once its registry is written.
    local output
    output=$(wineboot -i 2>&1)
    wineserver -w
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Cannot create the Wine prefix in $WINEPREFIX: 'wineboot -i' wrote no registry:" >&2
        echo "$output" | tail -n 15 >&2
        return 1
    fi
    prefix_step wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
        prefix_step wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f &&
        prefix_step wine reg add 'HKCU\Software\Wine\DllOverrides' /v twain_32 /d native /f &&
        prefix_step wine reg add 'HKCU\Software\Wine\DllOverrides' /v twaindsm /d native /f &&
        prefix_step wineserver -w || return 1
    touch "$WINEPREFIX/$prefix_marker"
}

# Starts the wineserver (and Wine's desktop process) apart from our output,
# so that ctest and pipes do not wait for them.
start_wineserver() {
    (wineserver -p >/dev/null 2>&1 </dev/null; wine cmd /c exit >/dev/null 2>&1 </dev/null)
}
