# Sourced by the scripts: which of the two Wine tiers this machine can run.
# The 64-bit tier runs everywhere; the 32-bit tier only where the kernel
# executes 32-bit x86 programs, which an installed wine32 cannot tell, so a
# 96-byte i386 program that exits with 42 is run to find out.
# TZ600A_ONLY_64BIT=1 makes the scripts behave as on a machine that runs
# only 64-bit code.

# Succeeds when this machine executes 32-bit x86 programs; otherwise says why
# in $no_32bit_reason.
host_runs_32bit_code() {
    if [ "${TZ600A_ONLY_64BIT:-}" = 1 ]; then
        no_32bit_reason="TZ600A_ONLY_64BIT=1 treats this machine as one that runs only 64-bit code"
        return 1
    fi
    local probe status
    probe=$(mktemp "${TMPDIR:-/tmp}/tz600a-i386-probe.XXXXXX" 2>/dev/null) || {
        no_32bit_reason="cannot write the probe program into ${TMPDIR:-/tmp}"
        return 1
    }
    # ELF header, one loadable segment, then: mov eax,1; mov ebx,42; int 0x80
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    status=$?
    rm -f "$probe"
    [ $status -eq 42 ] && return 0
    no_32bit_reason="this machine cannot execute 32-bit x86 code (a 32-bit probe program ended with status $status)"
    return 1
}
