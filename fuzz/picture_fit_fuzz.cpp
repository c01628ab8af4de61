// FitPicture on arbitrary box and picture sizes: four little-endian numbers,
// each limited to 0 .. INT_MAX, since neither a client area nor a decoded
// picture has a negative side.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/picture_fit.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// FitPicture stays usable in constant expressions.
constexpr bool Places(PictureRect r, int x, int y, int width, int height) {
    return r.x == x && r.y == y && r.width == width && r.height == height;
}
static_assert(Places(FitPicture(450, 270, 100, 50), 175, 110, 100, 50));
static_assert(Places(FitPicture(450, 270, 900, 100), 0, 110, 450, 50));

int SizeAt(const uint8_t* data, size_t size, size_t index) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        const size_t at = index * 4 + i;
        if (at < size) value |= static_cast<uint32_t>(data[at]) << (8 * i);
    }
    return static_cast<int>(value & 0x7fffffffu);
}

int64_t Difference(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small sides are the usual ones: when the input asks for it, take each
    // side modulo 4096 so that most runs look at them.
    const bool small = size > 16 && (data[16] & 1);
    int sides[4];
    for (size_t i = 0; i < 4; ++i) sides[i] = small ? SizeAt(data, size, i) % 4096 : SizeAt(data, size, i);
    const int64_t boxWidth = sides[0], boxHeight = sides[1];
    const int64_t pictureWidth = sides[2], pictureHeight = sides[3];

    const PictureRect to = FitPicture(sides[0], sides[1], sides[2], sides[3]);

    // Inside the box, never larger than the picture.
    Require(to.x >= 0 && to.y >= 0 && to.width >= 0 && to.height >= 0);
    Require(to.x + int64_t{to.width} <= boxWidth && to.y + int64_t{to.height} <= boxHeight);
    Require(to.width <= pictureWidth && to.height <= pictureHeight);

    // Centred. The margin is halved twice when the picture is shrunk along
    // the other side only, so the two margins may differ by two pixels.
    Require(Difference(to.x, boxWidth - to.width - to.x) <= 2);
    Require(Difference(to.y, boxHeight - to.height - to.y) <= 2);

    if (pictureWidth <= boxWidth && pictureHeight <= boxHeight) {
        // It fits: taken as it is.
        Require(to.width == pictureWidth && to.height == pictureHeight);
        Require(to.x == (boxWidth - pictureWidth) / 2 && to.y == (boxHeight - pictureHeight) / 2);
    } else if (pictureWidth > 0 && pictureHeight > 0) {
        // Shrunk: one side fills the box, up to rounding, and the proportions
        // stay those of the picture, up to a pixel on each side.
        Require(to.width + 1 >= boxWidth || to.height + 1 >= boxHeight);
        Require(Difference(to.width * pictureHeight, to.height * pictureWidth) <=
                pictureWidth + pictureHeight);
    }
    return 0;
}
