// DecodeJpeg on arbitrary bytes: it must refuse or decode without a fault,
// and a decoded picture must have the rows its size promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "app/jpeg_picture.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<Picture> picture = DecodeJpeg(data, size);
    if (!picture) return 0;

    Require(picture->width > 0 && picture->height > 0);
    Require(picture->width <= 8192 && picture->height <= 8192);
    const size_t width = static_cast<size_t>(picture->width);
    const size_t height = static_cast<size_t>(picture->height);
    const size_t stride = picture->Stride();
    Require(stride % 4 == 0 && stride >= width * 3 && stride < width * 3 + 4);
    Require(picture->bgr.size() == stride * height);

    // Three bytes a pixel: the padding at the end of each row stays as the
    // decoder found it, zero.
    for (size_t row = 0; row < height; ++row)
        for (size_t at = row * stride + width * 3; at < (row + 1) * stride; ++at)
            Require(picture->bgr[at] == 0);
    return 0;
}
