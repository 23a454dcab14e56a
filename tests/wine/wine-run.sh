#!/bin/sh
# Runs a Windows program of the build under Wine in the given prefix, or in
# the prefix of the same name of lane N of a parallel run (TZ600A_LANE=N).
# The prefix's architecture is the build's, whose folder holds it. With
# TZ600A_CAMERA_BRIDGE=1 it runs in the prefix's twin where 64-bit programs
# reach the camera through the bridge (scripts/bridge-prefix.sh).
#   wine-run.sh PREFIX PROGRAM [ARGS...]
prefix=$1${TZ600A_CAMERA_BRIDGE:+-bridge}${TZ600A_LANE:+-lane$TZ600A_LANE}
shift
case "$prefix" in
*/win64/*) export WINEARCH=win64 ;;
*) export WINEARCH=win32 ;;
esac
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;twain_32,twaindsm=n"
exec wine "$@"
