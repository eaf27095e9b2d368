#include "tools/skingen/picture_files.h"

#include <cstdio>
#include <jpeglib.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace skingen {

namespace {

constexpr int kQuality = 95;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void Fail(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    throw std::runtime_error(message);
}

QImage ReadBack(const QString& path) {
    File file(std::fopen(path.toLocal8Bit().constData(), "rb"));
    if (!file) {
        throw std::runtime_error("cannot reopen " + path.toStdString());
    }
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = Fail;
    jpeg_create_decompress(&info);
    std::unique_ptr<jpeg_decompress_struct, void (*)(jpeg_decompress_struct*)> guard(
        &info, jpeg_destroy_decompress);
    jpeg_stdio_src(&info, file.get());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    QImage out(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
               QImage::Format_RGB32);
    std::vector<JSAMPLE> row(info.output_width * 3);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (int x = 0; x < out.width(); ++x) {
            out.setPixel(x, y, qRgb(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]));
        }
    }
    jpeg_finish_decompress(&info);
    return out;
}

} // namespace

QImage WriteJpeg(const QImage& picture, const QString& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    {
        File file(std::fopen(path.toLocal8Bit().constData(), "wb"));
        if (!file) {
            throw std::runtime_error("cannot write " + path.toStdString());
        }
        jpeg_compress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        errors.error_exit = Fail;
        jpeg_create_compress(&info);
        std::unique_ptr<jpeg_compress_struct, void (*)(jpeg_compress_struct*)> guard(
            &info, jpeg_destroy_compress);
        jpeg_stdio_dest(&info, file.get());
        info.image_width = static_cast<JDIMENSION>(rgb.width());
        info.image_height = static_cast<JDIMENSION>(rgb.height());
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info); // YCbCr, 2x2 luma sampling (4:2:0), sequential Huffman
        jpeg_set_quality(&info, kQuality, TRUE);
        info.comp_info[0].h_samp_factor = 2;
        info.comp_info[0].v_samp_factor = 2;
        info.comp_info[1].h_samp_factor = info.comp_info[1].v_samp_factor = 1;
        info.comp_info[2].h_samp_factor = info.comp_info[2].v_samp_factor = 1;
        info.optimize_coding = TRUE;
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            JSAMPROW rows[] = {
                const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)))};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
    }
    return ReadBack(path);
}

} // namespace skingen
