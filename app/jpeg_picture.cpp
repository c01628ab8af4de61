#include "app/jpeg_picture.h"

#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

namespace {

// Larger pictures are refused rather than allocated.
constexpr JDIMENSION MaxSide = 8192;

struct ErrorManager {
    jpeg_error_mgr base;
    void* jump[5];  // __builtin_setjmp's buffer
};

[[noreturn]] void JumpOut(j_common_ptr info) {
    // __builtin_longjmp restores registers only: no unwinding through
    // libjpeg's frames, which mingw's SEH unwinder has trouble with.
    __builtin_longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void StaySilent(j_common_ptr) {}

// Fills out from the JPEG. Its frame holds nothing with a destructor, since
// an error jumps straight back into it.
bool DecodeInto(const uint8_t* data, size_t size, Picture& out) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpOut;
    errors.base.output_message = StaySilent;

    if (__builtin_setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    // Before the decompressor starts: for a progressive picture it would
    // allocate the whole image's coefficients first.
    if (info.image_width > MaxSide || info.image_height > MaxSide) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);

    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.bgr.resize(out.Stride() * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.bgr.data() + out.Stride() * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    // libjpeg only warns about a truncated or corrupt scan and pads it with
    // grey; such a picture counts as damaged.
    const bool whole = errors.base.num_warnings == 0;
    jpeg_destroy_decompress(&info);
    return whole;
}

}  // namespace

std::optional<Picture> DecodeJpeg(const uint8_t* data, size_t size) {
    if (!data || size == 0) return std::nullopt;
    Picture picture;
    if (!DecodeInto(data, size, picture)) return std::nullopt;
    return picture;
}
