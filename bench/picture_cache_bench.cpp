// Remote pictures shown from the picture cache: 200 photo-like JPEGs of 320 x 240 stored through the
// cache, then loaded through the picture manager from disk (memory emptied first) and from memory,
// each against reading the same files and decoding them with libjpeg-turbo directly. It also prints the
// peak memory the 200 pictures add in the memory level against their decoded size.

#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/support/RatioReporter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"
#include "platform/graphics/JpegCodec.h"
#include "ui/webimage/ImageCache.h"
#include "ui/webimage/WebImageManager.h"

namespace {

constexpr int kCount = 200;
constexpr int kWidth = 320;
constexpr int kHeight = 240;

struct Pictures {
  std::shared_ptr<ImageCache> cache;
  std::shared_ptr<WebImageManager> manager;
  std::vector<std::string> urls;
};

Pictures& pictures() {
  static Pictures setUp = [] {
    const auto home = std::filesystem::temp_directory_path() / ("marlune-picture-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    pf::Sandbox::setHome(home.string());
    Pictures made;
    made.cache = ImageCache::create("bench");
    made.manager = WebImageManager::create();
    made.manager->setImageCache(made.cache);
    std::mt19937 random(5);
    for (int i = 0; i < kCount; ++i) {
      auto bitmap = pf::Bitmap::create(kWidth, kHeight);
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          bitmap->setPixel(x, y, {std::uint8_t(x / 2 + random() % 24), std::uint8_t(y + i), std::uint8_t((x + y) / 4), 255});
      const std::vector<std::uint8_t> jpeg = *pf::JpegCodec::encode(*bitmap, 0.85);
      made.urls.push_back("http://pictures.example/cover/" + std::to_string(i) + ".jpg");
      made.cache->storeImage(pf::Image::withData(jpeg), jpeg, made.urls.back(), true);
    }
    made.cache->ioQueue()->sync([] {});
    made.cache->clearMemory();
    return made;
  }();
  return setUp;
}

// Loads every picture through the manager and waits on the main loop for the last answer.
void loadAllThroughManager() {
  Pictures& setUp = pictures();
  int answered = 0;
  for (const std::string& url : setUp.urls) {
    setUp.manager->downloadWithURL(url, 0, nullptr, [&answered](auto image, pf::ErrorPtr, ImageCacheType, bool) {
      if (image) ++answered;
    });
  }
  pf::RunLoop::main()->runUntilTrue([&] { return answered == kCount; }, 60);
  if (answered != kCount) std::fprintf(stderr, "only %d of %d pictures came\n", answered, kCount);
}

void decodeWithLibjpeg(const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t>& pixels) {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  pixels.assign(std::size_t(info.output_width) * info.output_height * 4, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels.data() + std::size_t(info.output_scanline) * info.output_width * 4;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
}

void BM_RawReadAndDecode(benchmark::State& state) {
  Pictures& setUp = pictures();
  std::vector<std::vector<std::uint8_t>> decoded(kCount);
  for (auto _ : state) {
    for (int i = 0; i < kCount; ++i) {
      std::ifstream in(setUp.cache->cachePathForKey(setUp.urls[i]), std::ios::binary);
      const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      decodeWithLibjpeg(bytes, decoded[i]);
    }
    benchmark::DoNotOptimize(decoded.data());
  }
}

void BM_ManagerFromDisk(benchmark::State& state) {
  Pictures& setUp = pictures();
  for (auto _ : state) {
    state.PauseTiming();
    setUp.cache->clearMemory();
    state.ResumeTiming();
    loadAllThroughManager();
  }
}

void BM_ManagerFromMemory(benchmark::State& state) {
  loadAllThroughManager();  // warms the memory level
  for (auto _ : state) loadAllThroughManager();
}

long statusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  }
  return -1;
}

void printPeakMemory() {
  Pictures& setUp = pictures();
  setUp.cache->clearMemory();
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = statusKilobytes("VmRSS:");
  loadAllThroughManager();
  const long peak = statusKilobytes("VmHWM:");
  const double decoded = kCount * double(kWidth) * kHeight * 4 / (1024 * 1024);
  std::printf("picture cache: peak memory added by %d pictures in the memory level %.1f MB, decoded size %.1f MB, "
              "ratio %.2f (memory level cost %zu of limit %zu)\n",
              kCount, (peak - before) / 1024.0, decoded, (peak - before) / 1024.0 / decoded,
              setUp.cache->memCache().totalCost(), setUp.cache->memCache().totalCostLimit());
}

BENCHMARK(BM_RawReadAndDecode)->Apply(bench::configure);
BENCHMARK(BM_ManagerFromDisk)->Apply(bench::configure);
BENCHMARK(BM_ManagerFromMemory)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  pf::RunLoop::setMainThread();
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("picture cache");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("200 JPEGs of 320x240 from disk through the manager", "BM_ManagerFromDisk",
                      "read + libjpeg-turbo", "BM_RawReadAndDecode");
  reporter.printRatio("200 JPEGs of 320x240 from memory through the manager", "BM_ManagerFromMemory",
                      "read + libjpeg-turbo", "BM_RawReadAndDecode");
  printPeakMemory();
  std::filesystem::remove_all(pf::Sandbox::home());
  benchmark::Shutdown();
  return 0;
}
