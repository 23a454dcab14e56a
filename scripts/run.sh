#!/bin/bash
# The main job: installs what is missing, builds, installs the data source
# and its stand-ins into a Wine prefix, prints the capabilities the source
# negotiates, and acquires the simulated camera's stills: acquire opens the
# album window, selects the stills, presses UpLoad, takes each picture by
# native transfer into build/acquired and prints a line for it. Arguments,
# when given, are passed to acquire instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh --windows-only

source scripts/wine-env.sh
ensure_wine_prefix
cmake --install build/win32 --prefix "$WINEPREFIX/drive_c" >/dev/null
# The stand-in capture filter joins the video input devices; the stand-in
# I420 decompressor lets Wine's graph show its frames.
scripts/under-wine.sh wine regsvr32 /s 'C:\windows\system32\zx600cap.ax' ||
    { echo "regsvr32 did not register the stand-in capture filter" >&2; exit 1; }
scripts/under-wine.sh wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Drivers32' \
    /v vidc.I420 /d i420dec.dll /f >/dev/null ||
    { echo "the stand-in I420 decompressor was not registered" >&2; exit 1; }
acquire="$WINEPREFIX/drive_c/Program Files/Ardenza/acquire/acquire.exe"
echo "== The capabilities that the installed capability files negotiate"
scripts/under-wine.sh wine "$acquire" --caps
echo "== Acquiring"
if [ $# -eq 0 ]; then
    mkdir -p build/acquired
    rm -f build/acquired/picture_*.bmp
    # Wine's drive Z: is the host's root folder.
    output="Z:$(echo "$PWD/build/acquired" | tr / '\\')"
    set -- --upload-all --close-after 30000 --mechanism native --output "$output"
fi
scripts/under-wine.sh wine "$acquire" "$@"
