#!/bin/bash
# The scripts' decision whether this machine runs the 32-bit tier.
source "$(dirname "$0")/../../scripts/host-tiers.sh"
# The machine itself is asked, whatever the run that started the test set.
unset TZ600A_ONLY_64BIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# The setting that stands for a machine of 64-bit code only is obeyed.
TZ600A_ONLY_64BIT=1 host_runs_32bit_code && fail "TZ600A_ONLY_64BIT=1 still runs the 32-bit tier"
TZ600A_ONLY_64BIT=1 host_runs_32bit_code || [[ "$no_32bit_reason" == *TZ600A_ONLY_64BIT=1* ]] ||
    fail "the reason does not name TZ600A_ONLY_64BIT: $no_32bit_reason"

# A probe that cannot be written is a machine that cannot run 32-bit code.
TMPDIR=/nonexistent host_runs_32bit_code && fail "an unwritable probe counted as running"

# Where 32-bit Wine is installed, its starting decides as the probe did.
if [ -x /usr/lib/wine/wine ]; then
    /usr/lib/wine/wine --version >/dev/null 2>&1 && wine32_runs=yes || wine32_runs=no
    host_runs_32bit_code && decided=yes || decided=no
    [ "$wine32_runs" = "$decided" ] || fail "the probe says $decided, 32-bit Wine starting says $wine32_runs"
fi
# The probe leaves nothing behind.
ls "${TMPDIR:-/tmp}"/tz600a-i386-probe.* >/dev/null 2>&1 && fail "a probe program was left in ${TMPDIR:-/tmp}"
exit $((failures > 0))
