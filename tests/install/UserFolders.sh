#!/usr/bin/env bash
# Where the real program keeps its files and its start-at-logon entry: beside it in a folder
# it may write; in the user's own folder for an ordinary user of the Debian package,
# installed with apt-get and removed again.
# Runs inside tools/with-desktop.sh, as root (CI is root; elsewhere it is skipped).
#   UserFolders.sh path/to/scenewright path/to/build-folder
set -euo pipefail
program=$1 build=$2
[[ $(id -u) == 0 ]] || { echo "not root: skipped"; exit 77; }
work=$(mktemp -d /tmp/scenewright-folders.XXXXXX)
chmod 755 "$work"
installed=
cleanup() {
  [[ -z $installed ]] || apt-get remove -y -qq scenewright >/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
defaults=$'[General]\r\nautostart=1\r\nnewonstart=1\r\nrandom=0\r\ninterval=3600\r\ncurrentindex=-1\r\n'
entry() { printf '[Desktop Entry]\nType=Application\nName=Scenewright\nExec=%s\n' "$1"; }
same() { [[ $(cat "$1"; echo .) == "$2." ]] || fail "$1 holds: $(od -c "$1" | head)"; }

# run EXECUTABLE USER HOME: starts the program until its window shows, then ends it with
# SIGTERM, which saves like a close.
run() {
  local as=() pid
  [[ $2 == root ]] || as=(setpriv --reuid="$2" --regid=nogroup --clear-groups)
  HOME=$3 XDG_CONFIG_HOME=$3/.config XDG_CACHE_HOME=$3/.cache XDG_CONFIG_DIRS=$work/xdg \
    "${as[@]}" "$1" 2>/dev/null &
  pid=$!
  timeout 30 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null || fail "no window from $1"
  kill -TERM "$pid"
  wait "$pid" || fail "$1 ended with status $?"
}
mkdir -m 755 "$work/xdg"

echo "a writable program folder: the files beside the program, as always"
mkdir "$work/open" "$work/open-home"
cp "$program" "$work/open/scenewright"
run "$work/open/scenewright" root "$work/open-home"
same "$work/open/scenewright.ini" "$defaults"
[[ $(ls -A "$work/open") == $'scenewright\nscenewright.ini\nwallpaper.dat' ]] || fail "open: $(ls -A "$work/open")"
[[ ! -e $work/open-home/.config/scenewright ]] || fail "a user folder was made beside a writable program"
same "$work/xdg/autostart/scenewright.desktop" "$(entry "$work/open/scenewright")"$'\n'

echo "the Debian package, installed with apt-get and used by an ordinary user"
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack failed"
deb=$(ls "$work"/package/scenewright_*_*.deb)
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "dependencies: $(dpkg-deb -f "$deb" Depends)"
installed=yes
apt-get install -y -qq -o DPkg::Lock::Timeout=600 "$deb" >/dev/null || fail "apt-get install failed"
[[ -f /usr/share/icons/hicolor/48x48/apps/scenewright.png ]] || fail "the package lacks its icon"
desktop-file-validate /usr/share/applications/scenewright.desktop || fail "the launcher is not valid"
appstreamcli validate --no-net /usr/share/metainfo/io.github.scenewright.Scenewright.metainfo.xml >/dev/null ||
  fail "the metainfo is not valid"
home=$work/user-home
mkdir "$home" && chown nobody:nogroup "$home"
rm -r "$work/xdg/autostart"
run /usr/bin/scenewright nobody "$home"
same "$home/.config/scenewright/scenewright.ini" "$defaults"
same "$home/.config/autostart/scenewright.desktop" "$(entry /usr/bin/scenewright)"$'\n'
[[ ! -e $work/xdg/autostart ]] || fail "an ordinary user wrote the system entry"
# The user's own list is used, and the index saved in the user's folder moves on across runs.
convert -size 8x8 xc:red "$work/a.png" && convert -size 8x8 xc:blue "$work/b.png"
printf '%s\r\n' "$work/a.png" "$work/b.png" >"$home/.config/scenewright/wallpaper.dat"
run /usr/bin/scenewright nobody "$home"
run /usr/bin/scenewright nobody "$home"
grep -q $'^currentindex=1\r$' "$home/.config/scenewright/scenewright.ini" ||
  fail "the index did not move on across runs: $(cat "$home/.config/scenewright/scenewright.ini")"
apt-get remove -y -qq scenewright >/dev/null && installed=
[[ ! -e /usr/bin/scenewright ]] || fail "the package was not removed"
echo "all folder and package checks passed"
