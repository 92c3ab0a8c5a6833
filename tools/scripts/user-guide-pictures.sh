#!/usr/bin/env bash
# Renders the pictures of the README and docs/user-guide.md from the real
# window, driven against the emulated PELZO in virtual time.
set -euo pipefail
cd "$(dirname "$0")/../.."
picture=build/default/tools/window-picture/window-picture
cmake --build --preset default --target window-picture >/dev/null
mkdir -p docs/pictures
for scene in start read marked write load wifi update updated; do
    "$picture" "docs/pictures/$scene.png" "$scene"
done
"$picture" docs/window.png defaults
