// Decoding a 1,000 x 1,000 photo-like JPEG into a picture through our image layer against
// libjpeg-turbo decoding the same bytes into a buffer of the same pixel layout directly.

#include <cstdio>
#include <random>
#include <vector>

#include <jpeglib.h>

#include "bench/support/RatioReporter.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/JpegCodec.h"

namespace {

constexpr int kSide = 1000;

const std::vector<std::uint8_t>& photo() {
  static const std::vector<std::uint8_t> bytes = [] {
    auto bitmap = pf::Bitmap::create(kSide, kSide);
    std::mt19937 random(11);
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x)
        bitmap->setPixel(
            x, y, {std::uint8_t(x / 4 + random() % 24), std::uint8_t(y / 4), std::uint8_t((x + y) / 8), 255});
    return *pf::JpegCodec::encode(*bitmap, 0.85);
  }();
  return bytes;
}

void BM_DecodeRaw(benchmark::State& state) {
  const auto& bytes = photo();
  for (auto _ : state) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    std::vector<std::uint8_t> pixels(std::size_t(info.output_width) * info.output_height * 4);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels.data() + std::size_t(info.output_scanline) * info.output_width * 4;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.data());
  }
}

void BM_DecodeLayer(benchmark::State& state) {
  const auto& bytes = photo();
  for (auto _ : state) {
    const auto image = pf::Image::withData(bytes);
    if (!image || image->bitmap()->width() != kSide) state.SkipWithError("decoding failed");
    benchmark::DoNotOptimize(image.get());
  }
}

BENCHMARK(BM_DecodeRaw)->Apply(bench::configure);
BENCHMARK(BM_DecodeLayer)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("jpeg");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("photo: %zu bytes\n", photo().size());
  reporter.printRatio("decode a 1000x1000 JPEG", "BM_DecodeLayer", "libjpeg-turbo", "BM_DecodeRaw");
  benchmark::Shutdown();
  return 0;
}
