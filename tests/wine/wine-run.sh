#!/bin/sh
# Runs a Windows program of the build under Wine in the given prefix.
#   wine-run.sh PREFIX PROGRAM [ARGS...]
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;twain_32=n"
exec wine "$@"
