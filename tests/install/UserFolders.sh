#!/usr/bin/env bash
# The Debian package installed with apt-get, used by an ordinary user and removed again: where
# the real program keeps its files and its start-at-logon entry. As root (like CI; skipped
# otherwise) in tools/with-desktop.sh.   UserFolders.sh path/to/scenewright path/to/build-folder
set -euo pipefail
build=$2  # $1, the built program, is not used: the package installs its own
[[ $(id -u) == 0 ]] || { echo "not root: skipped"; exit 77; }
work=$(mktemp -d /tmp/scenewright-folders.XXXXXX)
chmod 755 "$work"
trap 'apt-get remove -y -qq scenewright >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
defaults=$'[General]\r\nautostart=1\r\nnewonstart=1\r\nrandom=0\r\ninterval=3600\r\ncurrentindex=-1\r\n'
same() { [[ $(cat "$1"; echo .) == "$2." ]] || fail "$1 holds: $(od -c "$1" | head)"; }
mkdir -m 755 "$work/xdg"

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack failed"
deb=$(ls "$work"/package/scenewright_*_*.deb)
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "dependencies: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -qw qt6-wayland || fail "no Wayland platform: $(dpkg-deb -f "$deb" Depends)"
apt-get install -y -qq -o DPkg::Lock::Timeout=600 "$deb" >/dev/null || fail "apt-get install failed"
[[ -f /usr/share/icons/hicolor/48x48/apps/scenewright.png ]] || fail "the package lacks its icon"
desktop-file-validate /usr/share/applications/scenewright.desktop || fail "the launcher is not valid"
metainfo=/usr/share/metainfo/io.github.scenewright.Scenewright.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "the metainfo is not valid"
home=$work/user-home
mkdir "$home" && chown nobody:nogroup "$home"
# Started until its window shows, then ended with SIGTERM, which saves like a close.
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache XDG_CONFIG_DIRS=$work/xdg \
  setpriv --reuid=nobody --regid=nogroup --clear-groups /usr/bin/scenewright 2>/dev/null &
pid=$!
timeout 30 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null || fail "no window"
kill -TERM "$pid"
wait "$pid" || fail "the program ended with status $?"
same "$home/.config/scenewright/scenewright.ini" "$defaults"
same "$home/.config/autostart/scenewright.desktop" $'[Desktop Entry]\nType=Application\nName=Scenewright\nExec=/usr/bin/scenewright\n'
[[ ! -e $work/xdg/autostart ]] || fail "an ordinary user wrote the system entry"
apt-get remove -y -qq scenewright >/dev/null
[[ ! -e /usr/bin/scenewright ]] || fail "the package was not removed"
