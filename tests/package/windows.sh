#!/usr/bin/env bash
# The program's protections read from its PE header and imports; the MSI under Wine installed
# silently, the program started from its installed path, then uninstalled while it runs.
#   windows.sh WINE_RUN STATE_DIR EXE MSI VERSION
set -euo pipefail
wine_run=$1 state=$2 exe=$3 msi=Z:${4//\//\\} version=$5
run() { "$wine_run" --state "$state" --timeout 120 "$@" | tr -d '\r'; }
fail() { echo "FAIL: $*" >&2; exit 1; }
dir="$state/prefix/drive_c/Program Files/Scenewright" key='Software\Microsoft\Windows\CurrentVersion'
# The portable copy's program process in this prefix.
portable_copy() { for p in $(pgrep -f '[p]ortable.scenewright.exe'); do grep -qzx "WINEPREFIX=$state/prefix" "/proc/$p/environ" &&
  [[ $(cat "/proc/$p/comm") == scenewright.exe ]] && echo "$p"; done 2>/dev/null || true; }
trap 'chattr -i "$dir" 2>/dev/null || true; kill -KILL $(portable_copy) 2>/dev/null || true' EXIT
shortcut() { find "$state/prefix/drive_c" -name Scenewright.lnk | grep -q .; }

# ASLR, DEP, and libssp's stack protector (canary from CryptGenRandom) and fortified functions.
header=$(x86_64-w64-mingw32-objdump -p "$exe"; grep -ao 'buffer overflow detected' "$exe")
for want in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT CryptGenRandom 'buffer overflow detected'; do
  grep -qw "$want" <<<"$header" || fail "$exe lacks $want"
done

run msiexec /i "$msi" /qn && [[ -f $dir/scenewright.exe && -f $dir/LICENSE.txt ]] || fail "install"
shortcut && ls "$state"/prefix/drive_c/windows/Installer/*/scenewright.ico >/dev/null || fail "no shortcut or icon"
entry=$(run reg query "HKLM\\$key\\Uninstall" /s)
for want in "DisplayName *REG_SZ *Scenewright" "DisplayVersion *REG_SZ *$version" "Publisher *REG_SZ *The Scenewright developers"; do
  grep -q "$want" <<<"$entry" || fail "the Add or Remove Programs entry lacks $want"; done

# An unwritable program folder, as for a user who is not an administrator (root under Wine
# may write Program Files): the program keeps its files in %APPDATA%\Scenewright. Beside it a
# portable copy of another user, whose Run value this user also holds.
own=$(run winepath -u "$(run cmd /c echo %APPDATA%)\\Scenewright") && rm -rf "$own"
[[ $(id -u) == 0 ]] && chattr +i "$dir" || own=$dir
portable=$state/portable && rm -rf "$portable" && mkdir -p "$portable" "$own" && cp "$exe" "$portable/" && pw=Z:${portable//\//\\}
printf '[General]\r\nautostart=0\r\n' >"$portable/scenewright.ini"
convert -size 4x4 xc:red "$portable/red.bmp" && printf '%s\r\n' "$pw\\red.bmp" >"$own/wallpaper.dat"
USER=other run "$pw\\scenewright.exe" >/dev/null 2>&1 &
run 'C:\Program Files\Scenewright\scenewright.exe' >/dev/null 2>&1 &
for _ in $(seq 300); do [[ -f $own/scenewright.ini && -f $portable/wallpaper.dat ]] && break; sleep 0.1; done
# The machine's value in another spelling of the installed program; this user's starts the portable copy.
run reg add "HKLM\\$key\\Run" /v Scenewright /d 'c:\program files\scenewright\SCENEWRIGHT.EXE' /f >/dev/null
run reg add "HKCU\\$key\\Run" /v Scenewright /d "$pw\\scenewright.exe" /f >/dev/null && chattr -i "$dir" 2>/dev/null || true
run msiexec /x "$msi" /qn || fail "the silent uninstall failed"
# Wine lets a running program's file go, so the process itself is looked for.
timeout 30 bash -c 'while pgrep -f "[P]rogram Files.Scenewright.scenewright.exe"; do sleep 0.2; done' >/dev/null ||
  fail "the running program was not ended"
copy=$(portable_copy) && [[ -n $copy ]] && kill $copy || fail "the portable copy was ended"
[[ ! -e $dir/scenewright.exe ]] && ! shortcut || fail "the program or its shortcut stayed"
! run reg query "HKLM\\$key\\Run" /v Scenewright >/dev/null 2>&1 || fail "the machine's Run value stayed"
run reg query "HKCU\\$key\\Run" /v Scenewright | grep -q portable && run reg delete "HKCU\\$key\\Run" /v Scenewright /f >/dev/null ||
  fail "the portable copy's Run value went"
grep -qx $'currentindex=0\r' "$own/scenewright.ini" && [[ -f $own/wallpaper.dat ]] ||
  fail "the program did not save as it closed, or the user's files in $own went"
echo "installed, run with its files in $own beside a portable copy, uninstalled"
