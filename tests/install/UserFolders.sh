#!/usr/bin/env bash
# The Debian package installed with apt-get, used by root, by an ordinary user and by a portable
# copy beside it, removed and purged again: where the real program keeps its files and its
# start-at-logon entries, and that nothing of them stays. As root (like CI; skipped otherwise)
# in tools/with-desktop.sh.   UserFolders.sh path/to/scenewright path/to/build-folder
set -euo pipefail
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR  # a step that failed without a word
build=$2  # $1, the built program, is not used: the package installs its own
[[ $(id -u) == 0 ]] || { echo "not root: skipped"; exit 77; }
system_entry=/etc/xdg/autostart/scenewright.desktop usr_files=(/usr/bin/scenewright.ini /usr/bin/wallpaper.dat)
[[ -z $(ls "${usr_files[@]}" 2>/dev/null) ]] || { echo "FAIL: presets in /usr/bin already" >&2; exit 1; }
work=$(mktemp -d /tmp/scenewright-folders.XXXXXX) && chmod 755 "$work"
[[ ! -e $system_entry ]] || mv "$system_entry" "$work/saved.desktop"  # the machine's own, put back at the end
trap 'apt-get purge -y -qq scenewright >/dev/null 2>&1 || true; rm -f "$system_entry" "${usr_files[@]}"
      [[ ! -e $work/saved.desktop ]] || mv "$work/saved.desktop" "$system_entry"; rm -rf "$work"' EXIT
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
installed=$(dpkg -L scenewright)
entry() { echo $'[Desktop Entry]\nType=Application\nName=Scenewright\nTryExec='"$1"$'\nExec='"$1"; }
# Started until its window shows, then ended with SIGTERM, which saves like a close.
run() {  # HOME [setpriv options] program
  HOME=$1 XDG_CONFIG_HOME=$1/.config XDG_CACHE_HOME=$1/.cache "${@:2}" 2>/dev/null & local pid=$!
  timeout 30 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null || fail "no window: ${*:2}"
  kill -TERM "$pid"
  wait "$pid" || fail "the program ended with status $?"
}
# Root, with start at login on: its files in its own folder, never under /usr; the entry for everyone.
mkdir "$work/root-home" && run "$work/root-home" env XDG_CONFIG_DIRS=/etc/xdg /usr/bin/scenewright
[[ -z $(ls "${usr_files[@]}" 2>/dev/null) ]] || fail "root wrote under /usr"
same "$work/root-home/.config/scenewright/scenewright.ini" "$defaults"
same "$system_entry" "$(entry /usr/bin/scenewright)"$'\n'
home=$work/user-home
mkdir "$home" && chown nobody:nogroup "$home"
as_user=(env XDG_CONFIG_DIRS=$work/xdg setpriv --reuid=nobody --regid=nogroup --clear-groups)
run "$home" "${as_user[@]}" /usr/bin/scenewright
same "$home/.config/scenewright/scenewright.ini" "$defaults"
same "$home/.config/autostart/scenewright.desktop" "$(entry /usr/bin/scenewright)"$'\n'
[[ ! -e $work/xdg/autostart ]] || fail "an ordinary user wrote the system entry"
# A portable copy of the user's, holding its own list, uses its own files beside the installed one's.
mkdir "$work/portable" && cp /usr/bin/scenewright "$work/portable/" && touch "$work/portable/wallpaper.dat"
chown -R nobody:nogroup "$work/portable"
printf '[General]\r\ninterval=45\r\n' >"$home/.config/scenewright/scenewright.ini"
run "$home" "${as_user[@]}" "$work/portable/scenewright"
grep -q currentindex "$work/portable/scenewright.ini" && ! grep -q currentindex "$home/.config/scenewright/scenewright.ini" ||
  fail "the portable copy did not use its own files"
apt-get remove -y -qq -o DPkg::Lock::Timeout=600 scenewright >/dev/null
[[ ! -e /usr/bin/scenewright ]] || fail "the package was not removed"
# Purging removes the machine-wide entry where it starts the package's program, and no other.
cp "$system_entry" "$work/entry" && entry "$work/portable/scenewright" >"$system_entry"
/var/lib/dpkg/info/scenewright.postrm purge && [[ -f $system_entry ]] || fail "the purge removed another copy's entry"
mv "$work/entry" "$system_entry"
apt-get purge -y -qq -o DPkg::Lock::Timeout=600 scenewright >/dev/null
[[ ! -e $system_entry ]] || fail "the purge left $system_entry"
for file in $installed; do [[ -d $file || ! -e $file ]] || fail "the purge left $file"; done
