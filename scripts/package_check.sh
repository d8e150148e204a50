#!/usr/bin/env bash
# Checks Tessaly32 as an installed application, after a build:
#   scripts/package_check.sh          (the build folder is build/, or $BUILD_DIR)
# Builds the .deb (cpack -G DEB in the build folder), unpacks it into a scratch
# root, and checks what it installs with the desktop's own tools: the desktop
# entry (desktop-file-validate), the AppStream metadata (appstreamcli), the
# file types (update-mime-database, then xdg-mime names a .mus and an .emd, by
# name and by content, and the program that opens them), the icons and the man
# pages; then runs the installed programs on the installed demo. `cmake
# --install` must install the same files. As root, where the package is not
# installed already, the .deb is also installed with dpkg -i, tried from /usr
# and removed again.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath "${BUILD_DIR:-build}")
id=org.tessaly32.Tessaly32
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

step() { echo "package: $*"; }
fail() {
  echo "package: FAIL: $*" >&2
  exit 1
}
# Runs a checker; its output is shown only when it fails, or says anything at all.
quiet() {
  local log=$work/log
  "$@" >"$log" 2>&1 || fail "$* failed: $(cat "$log")"
  [[ ! -s $log ]] || fail "$* says: $(cat "$log")"
}

step "building the .deb"
rm -rf "$build_dir/packages"
(cd "$build_dir" && cpack -G DEB >"$work/cpack.log" 2>&1) || fail "cpack: $(cat "$work/cpack.log")"
deb=$(echo "$build_dir"/packages/tessaly32_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fluid-soundfont-gm fonts-ipafont-gothic libqt6widgets6 libfluidsynth3 librtmidi; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

step "unpacking it into a scratch root; cmake --install installs the same files"
root=$work/root
share=$root/usr/share
dpkg-deb -x "$deb" "$root"
cmake --install "$build_dir" --prefix "$work/install/usr" >/dev/null
diff <(cd "$root" && find . | sort) <(cd "$work/install" && find . | sort) >&2 ||
  fail "cmake --install and the .deb install different files"

step "desktop entry, AppStream metadata, icons, man pages"
quiet desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  fail "appstreamcli: $(cat "$work/appstream.log")"
# The newest release the metainfo names is this version.
version=$("$root/usr/bin/tessaly32" --version | head -1 | cut -d' ' -f2)
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo has no release $version"
grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "the desktop entry names another icon"
quiet xmllint --noout "$share/icons/hicolor/scalable/apps/$id.svg"
for size in 48 256; do
  file "$share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size" ||
    fail "no $size x $size PNG icon"
done
for page in tsy tessaly32; do
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man $page: $warnings"
done
bash -n "$share/bash-completion/completions/tsy"

step "file types: the installed MIME database names a .mus and an .emd"
quiet xmllint --noout "$share/mime/packages/$id.xml"
# The desktop as it is after the install, without anything of this user's.
desktop() {
  env XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_DIRS="$share:/usr/share" \
    XDG_CONFIG_DIRS="$work/home/etc" XDG_CURRENT_DESKTOP=none "$@"
}
quiet desktop update-mime-database "$share/mime"
quiet update-desktop-database "$share/applications"
"$root/usr/bin/tsy" compile "$share/tessaly32/demo.mus" -o "$work/demo.emd" >/dev/null
cp "$share/tessaly32/demo.mus" "$work/demo.mus"
cp "$share/tessaly32/demo.mus" "$work/DEMO.MUS"
cp "$work/demo.emd" "$work/image-without-extension"
for case in "demo.mus text/x-tessaly32-mus" "DEMO.MUS text/x-tessaly32-mus" "demo.emd application/x-tessaly32-emd" \
  "image-without-extension application/x-tessaly32-emd"; do
  read -r name want <<<"$case"
  got=$(desktop xdg-mime query filetype "$work/$name")
  [[ $got == "$want" ]] || fail "xdg-mime says $name is $got, not $want"
  opener=$(desktop xdg-mime query default "$want")
  [[ $opener == "$id.desktop" ]] || fail "$want opens with '$opener', not $id.desktop"
done

step "the installed programs"
tsy=$root/usr/bin/tsy
"$tsy" help >/dev/null
"$tsy" compile "$share/tessaly32/demo.mus" -o "$work/demo.emd" >/dev/null
"$tsy" smf "$work/demo.emd" -o "$work/demo.mid" >/dev/null
[[ $(head -c 4 "$work/demo.mid") == MThd ]] || fail "tsy smf wrote no MIDI file"
for option in --help --version; do
  env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/tessaly32" "$option" >/dev/null ||
    fail "tessaly32 $option needs a display"
done
set +e
"$root/usr/bin/tessaly32" --no-such-option 2>/dev/null
[[ $? -eq 2 ]] || fail "tessaly32 takes an unknown option"
set -e

if [[ $(id -u) -eq 0 ]] && ! dpkg-query -W -f='${Status}' tessaly32 2>/dev/null | grep -q "ok installed"; then
  step "dpkg -i, the programs from /usr, dpkg -r"
  dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$work/dpkg.log")"
  removed=0
  remove() { ((removed)) || dpkg -r tessaly32 >/dev/null; removed=1; }
  trap 'remove; rm -rf "$work"' EXIT
  /usr/bin/tsy compile /usr/share/tessaly32/demo.mus -o "$work/installed.emd" >/dev/null
  man -w tsy >/dev/null && man -w tessaly32 >/dev/null || fail "man does not find the pages"
  remove
  [[ ! -e /usr/bin/tsy ]] || fail "dpkg -r left /usr/bin/tsy"
fi
step "all checks passed ($(basename "$deb"))"
