#!/bin/bash
# Renews the pictures of the album window that the README shows, on a built
# tree (scripts/build.sh): docs/album.png, album mode with the default
# storage's stills selected, and docs/video.png, video mode with the stand-in
# camera's moving picture in the panel. The album window's tests take them
# on the virtual display and write them into the build folder of the tier
# that runs: the 32-bit one where this machine can, else the 64-bit one.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/host-tiers.sh

export TZ600A_TIER=32
host_runs_32bit_code || TZ600A_TIER=64
build=build/win$TZ600A_TIER
scripts/under-wine.sh ctest --test-dir $build --output-on-failure \
    -R '^AlbumWindow\.(StartListsTheCameraObjectsWithTheirIcons|VideoModeShowsTheMovingPictureInThePanel)$'
mkdir -p docs
cp $build/album_window.png docs/album.png
cp $build/album_video.png docs/video.png
echo "Wrote docs/album.png and docs/video.png"
