#!/bin/bash
# Static checks of the built modules that go to Windows, on any host: each
# data source is a DLL of its architecture that exports DS_Entry and DllMain
# and imports only Windows' own libraries and the camera library DSCLINK.dll;
# the camera library bridge exports the camera library's nine functions, as
# album/DSCLINK.def names them, and it and its host import only Windows'
# libraries (a MinGW runtime DLL would have to be shipped beside them, where
# another program's copy under the same name may be loaded first).
set -uo pipefail
cd "$(dirname "$0")/.."

system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll "
system_dlls+="msvfw32.dll ole32.dll oleaut32.dll shell32.dll user32.dll version.dll winmm.dll "

camera_functions=$(sed -n 's/^    \([A-Za-z_0-9]*\)$/\1/p' album/DSCLINK.def | sort | tr '\n' ' ')

# check_module FILE FORMAT EXPORTS [IMPORT]: prints what is wrong with FILE,
# if anything: its format, its exports (sorted, each followed by a blank),
# and its imports, which are Windows libraries or IMPORT.
check_module() {
    local file=$1 format=$2 wanted=$3 allowed=${4:-} dump exports dll
    if [ ! -f "$file" ]; then
        echo "$file: missing (scripts/build.sh builds it)"
        return
    fi
    dump=$(x86_64-w64-mingw32-objdump -p "$file" 2>&1)
    grep -q "file format $format" <<<"$dump" || echo "$file: not a $format file"
    exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
              sed -n 's/^\t\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
    [ "$exports" = "$wanted" ] || echo "$file: exports '$exports' instead of '$wanted'"
    for dll in $(sed -n 's/^\tDLL Name: //p' <<<"$dump"); do
        [ "$dll" = "$allowed" ] && continue
        [[ "$system_dlls" == *" ${dll,,} "* ]] || echo "$file: imports $dll, not a Windows library"
    done
}

problems=$(check_module build/win32/bin/Tz600a.ds pei-i386 "DS_Entry DllMain " DSCLINK.dll
           check_module build/win64/bin/Tz600a.ds pei-x86-64 "DS_Entry DllMain " DSCLINK.dll
           check_module build/win64/bin/bridge/DSCLINK.dll pei-x86-64 "$camera_functions"
           check_module build/win32/bin/DscLinkHost.exe pei-i386 "")
if [ -n "$problems" ]; then
    echo "$problems"
    exit 1
fi
echo "Static checks: both Tz600a.ds export DS_Entry and DllMain and import only Windows libraries" \
     "and DSCLINK.dll; the bridge exports the camera library's functions; the bridge and its host" \
     "import only Windows libraries"
