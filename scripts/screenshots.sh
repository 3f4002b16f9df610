#!/bin/sh
# Saves a picture of every window into docs/screenshots/, on a prepared program directory,
# under Xvfb. Needs: xvfb xauth (CORVANE_EXTRA_PACKAGES="xvfb xauth" scripts/install-deps.sh).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target corvane_screenshots
xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/corvane_screenshots docs/screenshots
