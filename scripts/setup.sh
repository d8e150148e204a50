#!/usr/bin/env bash
# Installs every Debian package Tessaly32 needs to build, test, play and render.
# Safe to run again: apt-get skips what is already there. Works as root or through sudo.
set -euo pipefail

packages=(
  # toolchain and test frameworks
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  # JSON for tsy --json, the language server and the positions feed
  nlohmann-json3-dev
  clang libclang-rt-14-dev clang-tidy clang-format
  # desktop program
  qt6-base-dev libgl-dev fonts-ipafont-gothic qt6-translations-l10n
  # MIDI output and the built-in synthesiser
  librtmidi-dev libjack-dev jackd1 libfluidsynth-dev libasound2-dev fluidsynth fluid-soundfont-gm
  # audio files: FLAC, Ogg Vorbis, Opus, RF64
  libsndfile1-dev
  # looking at the program and checking its files
  xvfb xauth x11-apps x11-utils openbox xdotool imagemagick python3 python3-mido sox opus-tools
  # the language server checked through a real editor
  neovim
  # the icon rendered at build time; the .deb and the checks of what it installs
  librsvg2-bin dpkg-dev desktop-file-utils appstream shared-mime-info libxml2-utils xdg-utils
  libfile-mimeinfo-perl file man-db groff-base
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
echo "setup: all packages present"
