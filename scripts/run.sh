#!/bin/bash
# The main job: installs what is missing, builds, installs the data source
# and the simulated camera into a Wine prefix with the installer, silently,
# in the 32-bit tier where this machine executes 32-bit x86 code, otherwise
# in the 64-bit tier (scripts/host-tiers.sh),
# prints the capabilities the source negotiates, and acquires the simulated
# camera's stills: acquire opens the album window, selects the stills,
# presses UpLoad, takes each picture by native transfer into build/acquired
# and prints a line for it. Arguments, when given, are passed to acquire
# instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/host-tiers.sh

if host_runs_32bit_code; then
    export TZ600A_TIER=32
    setup=build/win32/bin/Tz600a-setup.exe
    echo "== 32-bit tier: this machine executes 32-bit x86 code; the 32-bit source runs in a 32-bit Wine prefix"
else
    export TZ600A_TIER=64
    setup=build/win64/bin/Tz600a-setup-x64.exe
    echo "== 64-bit tier: $no_32bit_reason; the 64-bit source runs in a 64-bit Wine prefix"
fi

scripts/setup.sh
scripts/build.sh --windows-only

echo "== Installing with $setup /S /SIMULATEDCAMERA"
scripts/under-wine.sh wine "$setup" /S /SIMULATEDCAMERA ||
    { echo "The installer failed (exit code $?)" >&2; exit 1; }
acquire='C:\Program Files\Ardenza\Tz600a\acquire.exe'
echo "== The capabilities that the installed capability files negotiate"
scripts/under-wine.sh wine "$acquire" --caps
echo "== Acquiring"
if [ $# -eq 0 ]; then
    mkdir -p build/acquired
    rm -f build/acquired/picture_*
    # Wine's drive Z: is the host's root folder.
    output="Z:$(echo "$PWD/build/acquired" | tr / '\\')"
    set -- --upload-all --close-after 30000 --mechanism native --output "$output"
fi
scripts/under-wine.sh wine "$acquire" "$@"
