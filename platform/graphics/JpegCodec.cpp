#include "platform/graphics/JpegCodec.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace pf {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void failJump(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void failOnEarlyEnd(j_common_ptr info, int level) {
  // Level -1 is a warning; the one that matters is data that stops before the picture does.
  if (level == -1 && info->err->msg_code == JWRN_JPEG_EOF) failJump(info);
}

void silence(j_common_ptr) {}

// Decodes into `bitmap`, which is made once the header is known. Kept free of objects with
// destructors, because a library error leaves by longjmp.
bool decodeInto(std::span<const std::uint8_t> bytes, std::shared_ptr<Bitmap>& bitmap) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = failJump;
  errors.base.emit_message = failOnEarlyEnd;
  errors.base.output_message = silence;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!Bitmap::fitsBudget(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  // Grey, YCbCr and RGB come out as native ARGB words; CMYK has no such conversion and fails.
  info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  bitmap = Bitmap::create(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  if (!bitmap) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = bitmap->data() + static_cast<std::ptrdiff_t>(bitmap->stride()) * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

bool encodeInto(const Bitmap& bitmap, int quality, unsigned char** buffer, unsigned long* size) {
  jpeg_compress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = failJump;
  errors.base.output_message = silence;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, buffer, size);
  info.image_width = static_cast<JDIMENSION>(bitmap.width());
  info.image_height = static_cast<JDIMENSION>(bitmap.height());
  info.input_components = 4;
  info.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(bitmap.data()) +
                   static_cast<std::ptrdiff_t>(bitmap.stride()) * info.next_scanline;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

bool JpegCodec::looksLikeJpeg(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xff && bytes[1] == 0xd8 && bytes[2] == 0xff;
}

std::shared_ptr<Bitmap> JpegCodec::decode(std::span<const std::uint8_t> bytes) {
  if (!looksLikeJpeg(bytes)) return nullptr;
  std::shared_ptr<Bitmap> bitmap;
  if (!decodeInto(bytes, bitmap)) return nullptr;
  return bitmap;
}

std::optional<std::vector<std::uint8_t>> JpegCodec::encode(const Bitmap& bitmap, double quality) {
  const int q = static_cast<int>(std::lround(std::clamp(quality, 0.0, 1.0) * 100));
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = encodeInto(bitmap, std::max(q, 1), &buffer, &size);
  std::optional<std::vector<std::uint8_t>> encoded;
  if (ok) encoded.emplace(buffer, buffer + size);
  std::free(buffer);
  return encoded;
}

}  // namespace pf
