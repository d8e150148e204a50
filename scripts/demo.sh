#!/usr/bin/env bash
# The demo: builds, compiles the demo piece (its summary is shown), writes it
# as a Standard MIDI File and as a WAV rendered by the built-in synthesiser,
# then plays it through the default output (the MidiDevice setting, else the
# MIDI Mapper). Without a sound card play waits in standby and the demo still
# completes. Everything lands in build/ (or $BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
scripts/build.sh
tsy="$build_dir/tsy"
"$tsy" compile examples/demo.mus -o "$build_dir/demo.emd"
"$tsy" smf "$build_dir/demo.emd" -o "$build_dir/demo.mid"
"$tsy" render "$build_dir/demo.emd" -o "$build_dir/demo.wav"
"$tsy" play "$build_dir/demo.emd"
