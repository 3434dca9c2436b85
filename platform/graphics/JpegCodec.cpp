#include "platform/graphics/JpegCodec.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// A progressive file may hold any number of scans, each a pass over the whole picture; real photos
// use about ten, so hundreds mean a file made to take minutes.
constexpr int kMaxScans = 100;

void limitScans(j_common_ptr info) {
  if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
    failJump(info);
}

// Photoshop writes CMYK inverted (and says so with its Adobe marker); either way ink becomes light.
void cmykToBgra(std::uint8_t* row, int width, bool inverted) {
  for (int x = 0; x < width; ++x, row += 4) {
    unsigned c = row[0], m = row[1], y = row[2], k = row[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    row[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
    row[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
    row[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    row[3] = 255;
  }
}

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
  jpeg_progress_mgr progress{};
  progress.progress_monitor = limitScans;
  info.progress = &progress;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!Bitmap::fitsBudget(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  // Grey, YCbCr and RGB come out as native ARGB words; CMYK (four bytes too) is converted in place.
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  bitmap = Bitmap::create(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  if (!bitmap) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = bitmap->data() + static_cast<std::ptrdiff_t>(bitmap->stride()) * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
    if (cmyk) cmykToBgra(row, static_cast<int>(info.output_width), info.saw_Adobe_marker);
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

// The orientation tag (1 to 8) of the file's Exif block; 1 (upright) when there is none.
int exifOrientation(std::span<const std::uint8_t> b) {
  std::size_t pos = 2;
  while (pos + 4 <= b.size() && b[pos] == 0xff) {
    const std::uint8_t marker = b[pos + 1];
    const std::size_t length = (std::size_t{b[pos + 2]} << 8) | b[pos + 3];
    if (marker == 0xda || length < 2 || pos + 2 + length > b.size()) break;
    const std::span<const std::uint8_t> segment = b.subspan(pos + 4, length - 2);
    if (marker == 0xe1 && segment.size() >= 14 && std::memcmp(segment.data(), "Exif\0\0", 6) == 0) {
      const std::span<const std::uint8_t> tiff = segment.subspan(6);
      const bool big = tiff[0] == 'M';
      auto read = [&](std::size_t at, int bytes) -> std::uint32_t {
        if (at + static_cast<std::size_t>(bytes) > tiff.size()) return 0;
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
          v |= std::uint32_t{tiff[at + (big ? i : bytes - 1 - i)]} << (8 * (bytes - 1 - i));
        return v;
      };
      const std::size_t ifd = read(4, 4);
      const std::uint32_t entries = read(ifd, 2);
      for (std::uint32_t i = 0; i < entries && i < 256; ++i) {
        const std::size_t entry = ifd + 2 + 12 * std::size_t{i};
        if (read(entry, 2) == 0x0112) {
          const std::uint32_t value = read(entry + 8, 2);
          return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
      }
      return 1;
    }
    pos += 2 + length;
  }
  return 1;
}

// Turns the decoded pixels upright as the Exif orientation asks (camera photos are stored sideways).
std::shared_ptr<Bitmap> oriented(std::shared_ptr<Bitmap> in, int orientation) {
  if (orientation == 1) return in;
  const int w = in->width(), h = in->height();
  const bool swaps = orientation >= 5;
  auto out = Bitmap::create(swaps ? h : w, swaps ? w : h);
  if (!out) return nullptr;
  const auto* src = reinterpret_cast<const std::uint32_t*>(in->data());
  auto* dst = reinterpret_cast<std::uint32_t*>(out->data());
  for (int y = 0; y < out->height(); ++y) {
    for (int x = 0; x < out->width(); ++x) {
      int sx = x, sy = y;
      switch (orientation) {
        case 2:
          sx = w - 1 - x;
          break;
        case 3:
          sx = w - 1 - x;
          sy = h - 1 - y;
          break;
        case 4:
          sy = h - 1 - y;
          break;
        case 5:
          sx = y;
          sy = x;
          break;
        case 6:
          sx = y;
          sy = h - 1 - x;
          break;
        case 7:
          sx = w - 1 - y;
          sy = h - 1 - x;
          break;
        case 8:
          sx = w - 1 - y;
          sy = x;
          break;
      }
      dst[std::size_t(y) * out->width() + x] = src[std::size_t(sy) * w + sx];
    }
  }
  return out;
}

}  // namespace

bool JpegCodec::looksLikeJpeg(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xff && bytes[1] == 0xd8 && bytes[2] == 0xff;
}

std::shared_ptr<Bitmap> JpegCodec::decode(std::span<const std::uint8_t> bytes) {
  if (!looksLikeJpeg(bytes)) return nullptr;
  std::shared_ptr<Bitmap> bitmap;
  if (!decodeInto(bytes, bitmap)) return nullptr;
  return oriented(std::move(bitmap), exifOrientation(bytes));
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
