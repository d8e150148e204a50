#!/usr/bin/env bash
# The main job: compile the demo piece and show its summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build/tsy compile examples/demo.mus -o build/demo.emd
