#include "sim/dsclink/test_scene.h"

#include <cstdint>

namespace {

struct Colour {
    int red;
    int green;
    int blue;
};

const int kMinimumSide = 16;
const int kDigits = 4;

// The seven segments of each digit, bit 0 to 6: top, upper right, lower
// right, bottom, lower left, upper left, middle.
const unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

int Clamp(int value)
{
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

// Small deterministic grain: a hash of the position, -range .. range.
int Grain(int x, int y, int range)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) % static_cast<uint32_t>(2 * range + 1)) - range;
}

Colour Mix(Colour a, Colour b, int part, int whole)
{
    return {a.red + (b.red - a.red) * part / whole, a.green + (b.green - a.green) * part / whole,
            a.blue + (b.blue - a.blue) * part / whole};
}

// A smooth ridge line: the height (in rows from the top) of a hill row at x.
int Ridge(int x, int width, int height, int base, int amplitude, int phase)
{
    const int period = width / 3 + 1;
    const int t = (x * 4 + phase) % (period * 4);
    const int tri = t < period * 2 ? t : period * 4 - t;
    return base * height / 100 - amplitude * height / 100 * tri / (period * 2);
}

Colour SceneColour(int x, int y, int width, int height)
{
    const int horizon = height * 62 / 100;
    const int sunX = width * 3 / 4;
    const int sunY = height / 5;
    const int sunRadius = height / 12;
    const int dx = x - sunX;
    const int dy = y - sunY;
    if (dx * dx + dy * dy <= sunRadius * sunRadius) {
        return {255, 236, 150};
    }
    const int farHill = Ridge(x, width, height, 56, 14, 0);
    const int nearHill = Ridge(x + width / 5, width, height, 66, 10, width / 2);
    const int houseLeft = width * 18 / 100;
    const int houseRight = width * 30 / 100;
    const int houseTop = height * 50 / 100;
    const int roofTop = height * 42 / 100;
    const int houseMiddle = (houseLeft + houseRight) / 2;
    if (x >= houseLeft && x < houseRight && y >= houseTop && y < horizon + height / 30) {
        const bool window = (x - houseLeft) * 10 / (houseRight - houseLeft) % 4 == 1 &&
                            (y - houseTop) * 10 / (horizon - houseTop + 1) % 4 == 1;
        return window ? Colour{250, 230, 120} : Colour{205, 190, 160};
    }
    const int roofHalf = (houseRight - houseLeft) / 2 + width / 80;
    if (y >= roofTop && y < houseTop &&
        (x > houseMiddle ? x - houseMiddle : houseMiddle - x) * (houseTop - roofTop) <=
            roofHalf * (y - roofTop)) {
        return {150, 45, 35};
    }
    if (y >= horizon) {
        // The lake mirrors the sky and the far hill, darker with depth.
        const int mirrored = 2 * horizon - y;
        Colour water = mirrored < farHill ? Mix({120, 170, 230}, {200, 225, 245}, mirrored, horizon)
                                          : Colour{40, 95, 60};
        const int ripple = (y * 7 + x / 9) % 11 == 0 ? 25 : 0;
        return Mix({water.red / 2 + ripple, water.green / 2 + ripple, water.blue * 3 / 4 + ripple},
                   {10, 30, 60}, y - horizon, height - horizon + 1);
    }
    if (y >= nearHill) {
        return Mix({70, 140, 50}, {30, 80, 25}, y - nearHill, horizon - nearHill + 1);
    }
    if (y >= farHill) {
        return Mix({95, 130, 110}, {60, 100, 70}, y - farHill, horizon - farHill + 1);
    }
    const int glow = sunRadius * 3;
    const int distance2 = dx * dx + dy * dy;
    const Colour sky = Mix({70, 120, 210}, {200, 225, 245}, y, horizon);
    return distance2 < glow * glow ? Mix({255, 240, 190}, sky, distance2, glow * glow) : sky;
}

void PutPixel(unsigned char* pixels, int width, int x, int y, Colour colour)
{
    unsigned char* pixel = pixels + (static_cast<size_t>(y) * width + x) * 3;
    pixel[0] = static_cast<unsigned char>(Clamp(colour.blue));
    pixel[1] = static_cast<unsigned char>(Clamp(colour.green));
    pixel[2] = static_cast<unsigned char>(Clamp(colour.red));
}

void FillBox(unsigned char* pixels, int width, int left, int top, int right, int bottom,
             Colour colour)
{
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            PutPixel(pixels, width, x, y, colour);
        }
    }
}

// One digit of seven segments in a cell of w x 2w pixels at (left, top).
void PaintDigit(unsigned char* pixels, int width, int left, int top, int w, int digit)
{
    const int t = w / 5 + 1;
    const int h = 2 * w;
    const int boxes[7][4] = {
        {0, 0, w, t},
        {w - t, 0, w, h / 2},
        {w - t, h / 2, w, h},
        {0, h - t, w, h},
        {0, h / 2, t, h},
        {0, 0, t, h / 2},
        {0, h / 2 - t / 2, w, h / 2 + t - t / 2},
    };
    for (int segment = 0; segment < 7; ++segment) {
        if ((kSegments[digit] >> segment & 1) != 0) {
            const int* box = boxes[segment];
            FillBox(pixels, width, left + box[0], top + box[1], left + box[2], top + box[3],
                    {255, 255, 255});
        }
    }
}

void PaintFrameNumber(unsigned char* pixels, int width, int height, int frameNumber)
{
    const int w = height / 14;
    const int gap = w / 2;
    const int margin = w / 2;
    const int left = margin;
    const int top = height - margin - 2 * w - 2 * gap;
    FillBox(pixels, width, left, top, left + kDigits * (w + gap) + gap, top + 2 * w + 2 * gap,
            {0, 0, 0});
    int number = frameNumber % 10000;
    if (number < 0) {
        number = -number;
    }
    for (int place = kDigits - 1; place >= 0; --place) {
        PaintDigit(pixels, width, left + gap + place * (w + gap), top + gap, w, number % 10);
        number /= 10;
    }
}

}  // namespace

size_t TestSceneSize(int width, int height)
{
    return width < kMinimumSide || height < kMinimumSide ? 0
                                                         : static_cast<size_t>(width) * height * 3;
}

void PaintTestScene(unsigned char* pixels, int width, int height, int frameNumber)
{
    if (TestSceneSize(width, height) == 0) {
        return;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour colour = SceneColour(x, y, width, height);
            const int grain = Grain(x, y, 6);
            PutPixel(pixels, width, x, y,
                     {colour.red + grain, colour.green + grain, colour.blue + grain});
        }
    }
    PaintFrameNumber(pixels, width, height, frameNumber);
}
