#!/bin/sh
# Runs a Windows program of the build under Wine in the given prefix, or in
# the prefix of the same name of lane N of a parallel run (TZ600A_LANE=N).
#   wine-run.sh PREFIX PROGRAM [ARGS...]
prefix=$1${TZ600A_LANE:+-lane$TZ600A_LANE}
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;twain_32=n"
exec wine "$@"
