// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace qx {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr int kMaxSide = 16384;

} // namespace

std::optional<TJpegImage> DecodeJpegFile(const std::string& path, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = OnError;
    // Everything that must be released after a jump lives outside the jump's scope.
    TJpegImage image;
    if (setjmp(manager.jump) != 0) {
        jpeg_destroy_decompress(&info);
        error = std::string(path) + ": " + manager.message;
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_width == 0 || info.output_height == 0 || info.output_width > kMaxSide ||
        info.output_height > kMaxSide || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        error = path + ": unsupported picture size or colours";
        return std::nullopt;
    }
    image.Width = static_cast<int>(info.output_width);
    image.Height = static_cast<int>(info.output_height);
    const std::size_t stride = static_cast<std::size_t>(image.Width) * 3;
    image.Rgb.resize(stride * static_cast<std::size_t>(image.Height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.Rgb.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

} // namespace qx
