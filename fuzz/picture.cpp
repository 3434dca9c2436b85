// Pictures from the network: PNG, JPEG and GIF bytes decoded as the picture cache decodes them. Every
// picture that decodes stays within the pixel budget, and so does the work of decoding it: a small
// file must not keep the decoder busy for seconds.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "platform/graphics/GifDecoder.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/PngCodec.h"

namespace {

void checkFits(const pf::Bitmap& bitmap, std::size_t frames, const char* what) {
  if (pf::Bitmap::fitsBudget(bitmap.width(), bitmap.height(), static_cast<std::int64_t>(frames))) return;
  std::fprintf(stderr, "%s: %d x %d x %zu beyond the budget\n", what, bitmap.width(), bitmap.height(), frames);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  if (pf::PngCodec::looksLikePng(bytes)) {
    if (auto bitmap = pf::PngCodec::decode(bytes)) checkFits(*bitmap, 1, "png");
  }
  if (pf::JpegCodec::looksLikeJpeg(bytes)) {
    if (auto bitmap = pf::JpegCodec::decode(bytes)) checkFits(*bitmap, 1, "jpeg");
  }
  if (pf::GifDecoder::looksLikeGif(bytes)) {
    if (auto animation = pf::GifDecoder::decode(bytes)) {
      for (const auto& frame : animation->frames) checkFits(*frame, animation->frames.size(), "gif");
      if (animation->frames.size() != animation->delays.size() || !(animation->duration() > 0)) {
        std::fprintf(stderr, "gif: %zu frames, %zu delays\n", animation->frames.size(), animation->delays.size());
        std::abort();
      }
    }
  }
  return 0;
}
