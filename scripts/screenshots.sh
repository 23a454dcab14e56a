#!/bin/bash
# Renews the pictures of the album window that the README shows, on a built
# tree (scripts/build.sh): docs/album.png, album mode with the default
# storage's stills selected, and docs/video.png, video mode with the stand-in
# camera's moving picture in the panel. The album window's tests take them
# on the virtual display and write them into build/win32.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/under-wine.sh ctest --test-dir build/win32 --output-on-failure \
    -R '^AlbumWindow\.(StartListsTheCameraObjectsWithTheirIcons|VideoModeShowsTheMovingPictureInThePanel)$'
mkdir -p docs
cp build/win32/album_window.png docs/album.png
cp build/win32/album_video.png docs/video.png
echo "Wrote docs/album.png and docs/video.png"
