#include "platform/graphics/IncrementalImageSource.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace pf {

namespace {

std::uint32_t bigEndian32(std::span<const std::uint8_t> b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) |
         b[at + 3];
}

int bigEndian16(std::span<const std::uint8_t> b, std::size_t at) {
  return (b[at] << 8) | b[at + 1];
}

std::optional<PixelSize> checkedSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0 || !Bitmap::fitsBudget(width, height)) return std::nullopt;
  return PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

bool isStartOfFrame(int marker) {
  return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

std::optional<PixelSize> jpegHeaderSize(std::span<const std::uint8_t> b) {
  std::size_t at = 2;
  while (at + 4 <= b.size()) {
    if (b[at] != 0xff) return std::nullopt;
    const int marker = b[at + 1];
    if (marker == 0xff) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) {
      at += 2;
      continue;
    }
    const std::size_t length = static_cast<std::size_t>(bigEndian16(b, at + 2));
    if (length < 2) return std::nullopt;
    if (isStartOfFrame(marker)) {
      if (at + 9 > b.size()) return std::nullopt;
      return checkedSize(bigEndian16(b, at + 7), bigEndian16(b, at + 5));
    }
    at += 2 + length;
  }
  return std::nullopt;
}

// ---- PNG, through libpng's progressive reader ----

struct PngProgress {
  std::shared_ptr<Bitmap>* bitmap;
  int rows;
  bool interlaced;
};

void premultiplyBgraRow(std::uint8_t* bgra, int width) {
  for (int x = 0; x < width; ++x, bgra += 4) {
    const unsigned a = bgra[3];
    for (int c = 0; c < 3; ++c) bgra[c] = static_cast<std::uint8_t>((bgra[c] * a + 127) / 255);
  }
}

void pngHeaderArrived(png_structp png, png_infop info) {
  auto* progress = static_cast<PngProgress*>(png_get_progressive_ptr(png));
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!Bitmap::fitsBudget(width, height)) png_error(png, "beyond the pixel budget");
  progress->interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
  if (progress->interlaced) png_set_interlace_handling(png);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_filler(png, 0xff, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  *progress->bitmap = Bitmap::create(static_cast<int>(width), static_cast<int>(height));
  if (!*progress->bitmap) png_error(png, "no bitmap");
}

void pngRowArrived(png_structp png, png_bytep row, png_uint_32 number, int) {
  auto* progress = static_cast<PngProgress*>(png_get_progressive_ptr(png));
  Bitmap& bitmap = **progress->bitmap;
  if (!row || progress->interlaced || number >= static_cast<png_uint_32>(bitmap.height())) return;
  std::uint8_t* target = bitmap.data() + static_cast<std::ptrdiff_t>(bitmap.stride()) * number;
  std::memcpy(target, row, static_cast<std::size_t>(bitmap.stride()));
  premultiplyBgraRow(target, bitmap.width());
  progress->rows = static_cast<int>(number) + 1;
}

// Damage ends the decoding quietly: a picture still arriving is often cut mid-chunk.
[[noreturn]] void pngQuietError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

void pngQuietWarning(png_structp, png_const_charp) {}

// Kept free of objects with destructors: a library error leaves by longjmp.
int decodePngRows(std::span<const std::uint8_t> bytes, std::shared_ptr<Bitmap>* bitmap) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngQuietError, pngQuietWarning);
  if (!png) return 0;
  png_infop info = png_create_info_struct(png);
  PngProgress progress{bitmap, 0, false};
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return progress.interlaced ? 0 : progress.rows;
  }
  png_set_progressive_read_fn(png, &progress, pngHeaderArrived, pngRowArrived, nullptr);
  png_process_data(png, info, const_cast<png_bytep>(bytes.data()), bytes.size());
  png_destroy_read_struct(&png, &info, nullptr);
  return progress.interlaced ? 0 : progress.rows;
}

// ---- JPEG, through libjpeg-turbo, stopping where the bytes run out ----

struct JpegErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool ranOut;
};

[[noreturn]] void jpegFailed(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void jpegNoticeEnd(j_common_ptr info, int level) {
  if (level == -1 && info->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<JpegErrors*>(info->err)->ranOut = true;
}

void jpegSilence(j_common_ptr) {}

int decodeJpegRows(std::span<const std::uint8_t> bytes, std::shared_ptr<Bitmap>* bitmap) {
  jpeg_decompress_struct info;
  JpegErrors errors;
  errors.ranOut = false;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = jpegFailed;
  errors.base.emit_message = jpegNoticeEnd;
  errors.base.output_message = jpegSilence;
  volatile int rows = 0;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return rows;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  if (errors.ranOut || cmyk || jpeg_has_multiple_scans(&info) ||
      !Bitmap::fitsBudget(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return 0;
  }
  info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  *bitmap = errors.ranOut ? nullptr
                          : Bitmap::create(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  while (*bitmap && info.output_scanline < info.output_height) {
    const int before = static_cast<int>(info.output_scanline);
    JSAMPROW row = (*bitmap)->data() + static_cast<std::ptrdiff_t>((*bitmap)->stride()) * before;
    jpeg_read_scanlines(&info, &row, 1);
    if (errors.ranOut) {
      // The row just read was made up past the end of the bytes.
      std::memset(row, 0, static_cast<std::size_t>((*bitmap)->stride()));
      break;
    }
    rows = before + 1;
  }
  jpeg_abort_decompress(&info);
  jpeg_destroy_decompress(&info);
  return rows;
}

}  // namespace

std::optional<PixelSize> IncrementalImageSource::sizeFromHeader(std::span<const std::uint8_t> b) {
  static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (b.size() >= 24 && std::memcmp(b.data(), kPng, sizeof kPng) == 0 && std::memcmp(b.data() + 12, "IHDR", 4) == 0)
    return checkedSize(bigEndian32(b, 16), bigEndian32(b, 20));
  if (b.size() >= 10 && std::memcmp(b.data(), "GIF8", 4) == 0)
    return checkedSize(b[6] | (b[7] << 8), b[8] | (b[9] << 8));
  if (b.size() >= 2 && b[0] == 0xff && b[1] == 0xd8) return jpegHeaderSize(b);
  return std::nullopt;
}

void IncrementalImageSource::update(std::span<const std::uint8_t> bytes) {
  bytes_.assign(bytes.begin(), bytes.end());
  decoded_ = false;
}

std::optional<PixelSize> IncrementalImageSource::pixelSize() const {
  return sizeFromHeader(bytes_);
}

std::shared_ptr<Bitmap> IncrementalImageSource::partialBitmap() {
  if (!decoded_) decode();
  return rows_ > 0 ? bitmap_ : nullptr;
}

void IncrementalImageSource::decode() {
  decoded_ = true;
  bitmap_.reset();
  rows_ = 0;
  if (!pixelSize()) return;
  if (bytes_[0] == 0x89) {
    rows_ = decodePngRows(bytes_, &bitmap_);
  } else if (bytes_[0] == 0xff) {
    rows_ = decodeJpegRows(bytes_, &bitmap_);
  }
  if (!bitmap_) rows_ = 0;
}

}  // namespace pf
