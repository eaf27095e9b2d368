#include "ui/skin/picture_decoding.h"

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include <jpeglib.h>
#include <stb_image.h>

namespace skin {
namespace {

RgbPixels FromRgb(const unsigned char* rgb, int width, int height) {
    RgbPixels image(width, height);
    for (int y = 0; y < height; ++y) {
        Pixel* row = image.Row(y);
        const unsigned char* in = rgb + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x, in += 3) {
            row[x] = Rgb(in[0], in[1], in[2]);
        }
    }
    return image;
}

// libjpeg reports fatal errors through error_exit, which must not return: jump back to the
// decoder, whose frame holds only trivially destructible state between setjmp and here.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void LeaveDecoder(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->escape, 1);
}

void IgnoreWarning(j_common_ptr, int) {}

// Decodes into `image`, already sized by the caller after reading the header; false on error.
bool ReadJpeg(jpeg_decompress_struct& info, JpegErrors& errors,
              std::span<const std::uint8_t> encoded, RgbPixels& image, unsigned char* rowBuffer,
              std::size_t rowBufferSize) {
    if (setjmp(errors.escape) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, encoded.data(), static_cast<unsigned long>(encoded.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || static_cast<int>(info.output_width) != image.Width() ||
        static_cast<int>(info.output_height) != image.Height() ||
        static_cast<std::size_t>(info.output_width) * 3 > rowBufferSize) {
        std::snprintf(errors.message, sizeof errors.message, "unexpected JPEG layout");
        return false;
    }
    while (info.output_scanline < info.output_height) {
        const auto y = static_cast<int>(info.output_scanline);
        JSAMPROW row = rowBuffer;
        jpeg_read_scanlines(&info, &row, 1);
        Pixel* out = image.Row(y);
        for (JDIMENSION x = 0; x < info.output_width; ++x) {
            out[x] = Rgb(rowBuffer[3 * x], rowBuffer[3 * x + 1], rowBuffer[3 * x + 2]);
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

// The picture's size from its header, so that the pixels can be allocated outside the jump.
bool ReadJpegSize(std::span<const std::uint8_t> encoded, int& width, int& height) {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = LeaveDecoder;
    errors.manager.emit_message = IgnoreWarning;
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, encoded.data(), static_cast<unsigned long>(encoded.size()));
    jpeg_read_header(&info, TRUE);
    width = static_cast<int>(info.image_width);
    height = static_cast<int>(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
}

constexpr int kLargestSide = 16384;

using StbPixels = std::unique_ptr<stbi_uc, void (*)(void*)>;

StbPixels ReadStb(std::span<const std::uint8_t> encoded, const char* kind, int& width,
                  int& height) {
    if (encoded.empty() || encoded.size() > INT_MAX) {
        throw PictureError(std::string("empty or oversized ") + kind + " data");
    }
    int channels = 0;
    StbPixels rgb(stbi_load_from_memory(encoded.data(), static_cast<int>(encoded.size()), &width,
                                        &height, &channels, 3),
                  stbi_image_free);
    if (!rgb) {
        throw PictureError(std::string("unreadable ") + kind + ": " + stbi_failure_reason());
    }
    return rgb;
}

StbPixels ReadBmp(std::span<const std::uint8_t> encoded, int& width, int& height) {
    return ReadStb(encoded, "BMP", width, height);
}

} // namespace

std::variant<IndexedPixels, RgbPixels>
DecodeBmpKeepingPalette(std::span<const std::uint8_t> encoded) {
    int width = 0;
    int height = 0;
    const StbPixels rgb = ReadBmp(encoded, width, height);
    if (std::optional<IndexedPixels> few = IndexedPixels::FromRgb(rgb.get(), width, height)) {
        return std::move(*few);
    }
    return FromRgb(rgb.get(), width, height);
}

RgbPixels DecodeJpeg(std::span<const std::uint8_t> encoded) {
    int width = 0;
    int height = 0;
    if (encoded.empty() || !ReadJpegSize(encoded, width, height) || width <= 0 || height <= 0 ||
        width > kLargestSide || height > kLargestSide) {
        throw PictureError("unreadable JPEG header");
    }
    RgbPixels image(width, height);
    std::vector<unsigned char> rowBuffer(static_cast<std::size_t>(width) * 3);
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = LeaveDecoder;
    errors.manager.emit_message = IgnoreWarning;
    const bool ok = ReadJpeg(info, errors, encoded, image, rowBuffer.data(), rowBuffer.size());
    jpeg_destroy_decompress(&info);
    if (!ok) {
        throw PictureError(std::string("unreadable JPEG: ") + errors.message);
    }
    return image;
}

RgbPixels DecodePng(std::span<const std::uint8_t> encoded) {
    int width = 0;
    int height = 0;
    const StbPixels rgb = ReadStb(encoded, "PNG", width, height);
    return FromRgb(rgb.get(), width, height);
}

} // namespace skin
