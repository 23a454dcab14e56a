// The picture the simulated camera takes: a landscape of sky, sun, hills, a
// lake and a house, with texture so that it compresses like a photograph,
// and the frame number in large digits in the lower left corner so that
// each capture is told apart at a glance.
#pragma once

#include <cstddef>

// Paints the scene into `pixels`: top-down rows of width * 3 bytes, each
// pixel blue, green, red. Sizes below 16 x 16 are left unpainted. Frame
// numbers are shown with up to four digits (modulo 10000).
void PaintTestScene(unsigned char* pixels, int width, int height, int frameNumber);

// Bytes PaintTestScene fills for that size.
size_t TestSceneSize(int width, int height);
