#!/usr/bin/env bash
# The Debian package as a distribution checks it: lintian without an error or a warning, and
# the packaged program built with every hardening flag.
#   debian.sh BUILD_DIR
set -euo pipefail
work=$(mktemp -d /tmp/scenewright-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
(cd "$1" && cpack -B "$work" >/dev/null) && deb=$(ls "$work"/*.deb)
report=$(lintian --info --pedantic "$deb" 2>&1) || [[ $? == 1 ]]  # 1: tags found, 2: lintian failed
echo "lintian: ${report:-no tags}"
! grep -q '^[EW]:' <<<"$report" || { echo "FAIL: lintian reports errors or warnings" >&2; exit 1; }
dpkg-deb -x "$deb" "$work/root"
# Debian 12's C library start files lack the control-flow marking, so no program linked with
# them has it (the code itself is built with -fcf-protection); checked where they have it.
readelf -n "$(gcc -print-file-name=crti.o)" | grep -q IBT && skip= || skip=--nocfprotection
hardening-check $skip "$work/root/usr/bin/scenewright"
