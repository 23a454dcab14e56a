#!/bin/bash
# Static checks of the built data sources of both architectures, on any host:
# each is a DLL of its architecture that exports DS_Entry and DllMain, and
# imports only Windows' own libraries and the camera library DSCLINK.dll
# (a MinGW runtime DLL would have to be shipped beside the source, where
# another program's copy under the same name may be loaded first).
set -uo pipefail
cd "$(dirname "$0")/.."

system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll "
system_dlls+="msvfw32.dll ole32.dll oleaut32.dll shell32.dll user32.dll version.dll winmm.dll "

# check_source FILE FORMAT: prints what is wrong with FILE, if anything.
check_source() {
    local file=$1 format=$2 dump exports dll
    if [ ! -f "$file" ]; then
        echo "$file: missing (scripts/build.sh builds it)"
        return
    fi
    dump=$(x86_64-w64-mingw32-objdump -p "$file" 2>&1)
    grep -q "file format $format" <<<"$dump" || echo "$file: not a $format file"
    exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
              sed -n 's/^\t\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
    [ "$exports" = "DS_Entry DllMain " ] ||
        echo "$file: exports '$exports' instead of 'DS_Entry DllMain'"
    for dll in $(sed -n 's/^\tDLL Name: //p' <<<"$dump"); do
        [ "$dll" = DSCLINK.dll ] && continue
        [[ "$system_dlls" == *" ${dll,,} "* ]] || echo "$file: imports $dll, not a Windows library"
    done
}

problems=$(check_source build/win32/bin/Tz600a.ds pei-i386
           check_source build/win64/bin/Tz600a.ds pei-x86-64)
if [ -n "$problems" ]; then
    echo "$problems"
    exit 1
fi
echo "Static checks: both Tz600a.ds export DS_Entry and DllMain and import only Windows libraries and DSCLINK.dll"
