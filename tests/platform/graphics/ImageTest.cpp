#include "platform/foundation/Bundle.h"
#include "platform/graphics/DecodedPixels.h"
#include "platform/graphics/GifDecoder.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/JpegCodec.h"

#include <gif_lib.h>
#include <jpeglib.h>

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

namespace pf {
namespace {

std::vector<std::uint8_t> fixture(const std::string& name) {
  std::ifstream in(std::string(MARLUNE_FIXTURES) + "/platform/graphics/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void expectPixelNear(const Bitmap& bitmap, int x, int y, Pixel want, int tolerance) {
  const Pixel got = bitmap.pixel(x, y);
  EXPECT_NEAR(got.red, want.red, tolerance) << "at " << x << "," << y;
  EXPECT_NEAR(got.green, want.green, tolerance) << "at " << x << "," << y;
  EXPECT_NEAR(got.blue, want.blue, tolerance) << "at " << x << "," << y;
  EXPECT_NEAR(got.alpha, want.alpha, tolerance) << "at " << x << "," << y;
}

constexpr Pixel kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255},
    kWhite{255, 255, 255, 255};

struct DecodeCase {
  const char* file;
  int width, height;
  struct Sample {
    int x, y;
    Pixel pixel;
  };
  std::vector<Sample> samples;
  int tolerance;
};

class ImageDecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(ImageDecodeTest, ReadsSizeAndPixels) {
  const DecodeCase& c = GetParam();
  const auto image = Image::withData(fixture(c.file));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->bitmap()->width(), c.width);
  EXPECT_EQ(image->bitmap()->height(), c.height);
  EXPECT_EQ(image->size(), (Size{double(c.width), double(c.height)}));
  for (const auto& s : c.samples) expectPixelNear(*image->bitmap(), s.x, s.y, s.pixel, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImageDecodeTest,
    testing::Values(
        // Half-transparent blue survives premultiplying within one step.
        DecodeCase{"quad.png",
                   4,
                   4,
                   {{0, 0, kRed}, {3, 1, kGreen}, {1, 3, {0, 0, 255, 128}}, {3, 3, {0, 0, 0, 0}}},
                   1},
        DecodeCase{
            "photo.jpg", 16, 16, {{2, 2, kRed}, {13, 2, kGreen}, {2, 13, kBlue}, {13, 13, kWhite}}, 12},
        // The first frame of an animation stands for it.
        DecodeCase{"frames.gif", 4, 4, {{0, 0, kRed}, {3, 3, kRed}}, 0}));

TEST(GifDecoderTest, ComposesFramesWithTheirDelays) {
  const auto animation = GifDecoder::decode(fixture("frames.gif"));
  ASSERT_TRUE(animation);
  ASSERT_EQ(animation->frames.size(), 3u);
  EXPECT_EQ(animation->delays, (std::vector<double>{0.1, 0.2, 0.3}));
  EXPECT_DOUBLE_EQ(animation->duration(), 0.6);
  // The second frame paints a 2x2 patch over the first; its transparent pixel leaves red showing.
  const Bitmap& second = *animation->frames[1];
  expectPixelNear(second, 0, 0, kRed, 0);
  expectPixelNear(second, 2, 2, kGreen, 0);
  expectPixelNear(second, 3, 2, kRed, 0);
  expectPixelNear(second, 3, 3, kGreen, 0);
  expectPixelNear(*animation->frames[2], 1, 1, kBlue, 0);
}

TEST(GifDecoderTest, FramesWithoutDelaysLastATenthOfASecondEach) {
  const auto animation = GifDecoder::decode(fixture("no_delay.gif"));
  ASSERT_TRUE(animation);
  EXPECT_EQ(animation->frames.size(), 2u);
  EXPECT_DOUBLE_EQ(animation->duration(), 0.2);
  const auto image = Image::withData(fixture("no_delay.gif"));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->images().size(), 2u);
  EXPECT_DOUBLE_EQ(image->duration(), 0.2);
}

TEST(ImageTest, AnimatedGifKeepsEveryFrame) {
  const auto image = Image::withData(fixture("frames.gif"));
  ASSERT_TRUE(image);
  ASSERT_EQ(image->images().size(), 3u);
  EXPECT_DOUBLE_EQ(image->duration(), 0.6);
  expectPixelNear(*image->images()[2]->bitmap(), 0, 0, kBlue, 0);
}

// Every prefix of every fixture, and copies with bytes overwritten, must answer nil or a picture
// without crashing or hanging; a prefix that cuts pixel data answers nil. (A PNG whose pixel data
// is whole reads without its closing 12-byte chunk.)
TEST(ImageTest, DamagedFilesAnswerNilWithoutCrashing) {
  std::mt19937 random(7);
  const std::pair<const char*, std::size_t> files[] = {
      {"quad.png", 12}, {"photo.jpg", 1}, {"frames.gif", 1}, {"no_delay.gif", 1}};
  for (const auto& [name, optionalTail] : files) {
    const auto bytes = fixture(name);
    ASSERT_FALSE(bytes.empty()) << name;
    for (std::size_t n = 0; n + optionalTail < bytes.size(); ++n) {
      const std::span<const std::uint8_t> prefix(bytes.data(), n);
      EXPECT_FALSE(Image::withData(prefix)) << name << " cut to " << n << " bytes";
    }
    for (int round = 0; round < 300; ++round) {
      auto damaged = bytes;
      for (int i = 0; i < 4; ++i) damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
      Image::withData(damaged);
    }
  }
  EXPECT_FALSE(Image::withData(std::vector<std::uint8_t>{}));
  const std::string text = "not a picture";
  EXPECT_FALSE(Image::withData(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t n) {
  std::uint32_t crc = 0xffffffff;
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void putBigEndian(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * (bytes - 1 - i)));
}

TEST(ImageTest, PicturesBeyondThePixelBudgetAreRefused) {
  auto png = fixture("quad.png");
  putBigEndian(png, 16, 100000, 4);  // IHDR width
  putBigEndian(png, 20, 100000, 4);  // IHDR height
  putBigEndian(png, 29, crc32(png.data() + 12, 17), 4);
  EXPECT_FALSE(Image::withData(png));

  auto gif = fixture("frames.gif");
  gif[6] = gif[7] = gif[8] = gif[9] = 0xff;  // logical screen 65535 x 65535
  EXPECT_FALSE(Image::withData(gif));

  auto jpeg = fixture("photo.jpg");
  for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xff && (jpeg[i + 1] == 0xc0 || jpeg[i + 1] == 0xc2)) {
      putBigEndian(jpeg, i + 5, 65000, 2);
      putBigEndian(jpeg, i + 7, 65000, 2);
      break;
    }
  }
  EXPECT_FALSE(Image::withData(jpeg));
  EXPECT_FALSE(Bitmap::create(100000, 100000));
  EXPECT_FALSE(ImageContext::create({1e6, 1e6}));
}

TEST(GifDecoderTest, ThousandsOfTinyFramesAreRefused) {
  // no_delay.gif: 25 bytes of header and palette, two frames of equal size, then the trailer.
  const auto bytes = fixture("no_delay.gif");
  const std::size_t frameSize = (bytes.size() - 26) / 2;
  auto withFrames = [&](int count) {
    std::vector<std::uint8_t> out(bytes.begin(), bytes.begin() + 25);
    for (int i = 0; i < count; ++i)
      out.insert(out.end(), bytes.begin() + 25, bytes.begin() + 25 + long(frameSize));
    out.push_back(';');
    return out;
  };
  const auto some = GifDecoder::decode(withFrames(300));
  ASSERT_TRUE(some);
  EXPECT_EQ(some->frames.size(), 300u);
  EXPECT_FALSE(GifDecoder::decode(withFrames(12000)));
}

// A GIF of `count` copies of one width x height frame of colour 0 on a 1 x 1 logical screen.
std::vector<std::uint8_t> hugeFramesOnTinyScreen(int width, int height, int count) {
  std::vector<std::uint8_t> out;
  auto write = [](GifFileType* gif, const GifByteType* data, int length) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    bytes->insert(bytes->end(), data, data + length);
    return length;
  };
  int error = 0;
  GifFileType* gif = EGifOpen(&out, write, &error);
  GifColorType colours[2] = {{0, 0, 0}, {255, 255, 255}};
  ColorMapObject* map = GifMakeMapObject(2, colours);
  EGifPutScreenDesc(gif, 1, 1, 1, 0, map);
  EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
  std::vector<GifPixelType> line(static_cast<std::size_t>(width), 0);
  for (int y = 0; y < height; ++y) EGifPutLine(gif, line.data(), width);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  const std::size_t head = 13 + 3 * 2;
  const std::vector<std::uint8_t> frame(out.begin() + long(head), out.end() - 1);
  out.resize(head);
  for (int i = 0; i < count; ++i) out.insert(out.end(), frame.begin(), frame.end());
  out.push_back(';');
  return out;
}

TEST(GifDecoderTest, FramesBeyondATinyScreenCountTheirOwnArea) {
  // Each frame fits the budget alone; together they decode 44 million pixels for a 1 x 1 picture.
  const auto bytes = hugeFramesOnTinyScreen(2000, 2000, 11);
  EXPECT_LT(bytes.size(), 100'000u);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(GifDecoder::decode(bytes));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
  const auto few = GifDecoder::decode(hugeFramesOnTinyScreen(2000, 2000, 3));
  ASSERT_TRUE(few);
  EXPECT_EQ(few->frames.size(), 3u);
  EXPECT_EQ(few->frames[0]->width(), 1);
}

std::vector<std::uint8_t> progressiveJpeg(int side) {
  std::vector<std::uint8_t> rgb(std::size_t(side) * side * 3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 7);
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = info.image_height = static_cast<JDIMENSION>(side);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = rgb.data() + std::size_t(info.next_scanline) * side * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// A CMYK JPEG of a red left half and a blue right half, written inverted as Photoshop does.
std::vector<std::uint8_t> cmykJpeg() {
  constexpr int kSide = 16;
  std::vector<std::uint8_t> cmyk(kSide * kSide * 4);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      // Red is magenta and yellow ink, blue is cyan and magenta; inverted, full ink is 0.
      const std::uint8_t ink[4] = {std::uint8_t(x < 8 ? 255 : 0), 0, std::uint8_t(x < 8 ? 0 : 255), 255};
      std::copy(ink, ink + 4, cmyk.begin() + (y * kSide + x) * 4);
    }
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = info.image_height = kSide;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = cmyk.data() + std::size_t(info.next_scanline) * kSide * 4;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

TEST(JpegCodecTest, DecodesCmykPhotos) {
  const auto bitmap = JpegCodec::decode(cmykJpeg());
  ASSERT_TRUE(bitmap);
  expectPixelNear(*bitmap, 3, 8, kRed, 12);
  expectPixelNear(*bitmap, 12, 8, kBlue, 12);
}

TEST(JpegCodecTest, ProgressiveFilesDecodeButEndlessScansAreRefused) {
  const auto bytes = progressiveJpeg(32);
  ASSERT_TRUE(JpegCodec::decode(bytes));
  // Repeat the last scan until the file holds hundreds of scans.
  std::size_t lastScan = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xff && bytes[i + 1] == 0xda) lastScan = i;
  ASSERT_GT(lastScan, 0u);
  std::vector<std::uint8_t> bomb(bytes.begin(), bytes.end() - 2);
  for (int i = 0; i < 300; ++i) bomb.insert(bomb.end(), bytes.begin() + long(lastScan), bytes.end() - 2);
  bomb.push_back(0xff);
  bomb.push_back(0xd9);
  EXPECT_FALSE(JpegCodec::decode(bomb));
}

// photo.jpg with an Exif block carrying the orientation tag, in big- or little-endian byte order.
std::vector<std::uint8_t> photoWithOrientation(int orientation, bool bigEndian) {
  auto bytes = fixture("photo.jpg");
  std::vector<std::uint8_t> tiff =
      bigEndian
          ? std::vector<std::uint8_t>{'M',  'M',  0, 42, 0, 0, 0, 8, 0, 1,
                                      0x01, 0x12, 0, 3,  0, 0, 0, 1, 0, std::uint8_t(orientation),
                                      0,    0,    0, 0,  0, 0}
          : std::vector<std::uint8_t>{
                'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, std::uint8_t(orientation),
                0,   0,   0,  0, 0, 0, 0};
  std::vector<std::uint8_t> app1 = {0xff, 0xe1, 0, std::uint8_t(2 + 6 + tiff.size()), 'E', 'x', 'i',
                                    'f',  0,    0};
  app1.insert(app1.end(), tiff.begin(), tiff.end());
  bytes.insert(bytes.begin() + 2, app1.begin(), app1.end());
  return bytes;
}

struct OrientationCase {
  int orientation;
  bool bigEndian;
  // Colours of the top-left, top-right, bottom-left and bottom-right quadrants once upright.
  Pixel topLeft, topRight, bottomLeft, bottomRight;
};

class JpegOrientationTest : public testing::TestWithParam<OrientationCase> {};

TEST_P(JpegOrientationTest, TurnsPhotosUpright) {
  const OrientationCase& c = GetParam();
  const auto image = Image::withData(photoWithOrientation(c.orientation, c.bigEndian));
  ASSERT_TRUE(image);
  const Bitmap& b = *image->bitmap();
  expectPixelNear(b, 2, 2, c.topLeft, 12);
  expectPixelNear(b, 13, 2, c.topRight, 12);
  expectPixelNear(b, 2, 13, c.bottomLeft, 12);
  expectPixelNear(b, 13, 13, c.bottomRight, 12);
}

// Stored: red, green / blue, white.
INSTANTIATE_TEST_SUITE_P(Tags, JpegOrientationTest,
                         testing::Values(OrientationCase{1, true, kRed, kGreen, kBlue, kWhite},
                                         OrientationCase{2, false, kGreen, kRed, kWhite, kBlue},
                                         OrientationCase{3, true, kWhite, kBlue, kGreen, kRed},
                                         OrientationCase{6, true, kBlue, kRed, kWhite, kGreen},
                                         OrientationCase{6, false, kBlue, kRed, kWhite, kGreen},
                                         OrientationCase{8, false, kGreen, kWhite, kRed, kBlue},
                                         OrientationCase{5, true, kRed, kBlue, kGreen, kWhite},
                                         OrientationCase{7, true, kWhite, kGreen, kBlue, kRed},
                                         OrientationCase{0, true, kRed, kGreen, kBlue, kWhite}));

// Pictures are decoded on download threads while the main thread draws.
TEST(ImageTest, DecodesAndDrawsOnManyThreadsAtOnce) {
  const auto png = fixture("quad.png"), jpeg = fixture("photo.jpg"), gif = fixture("frames.gif");
  std::vector<std::thread> threads;
  std::atomic<int> decoded{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 20; ++i) {
        for (const auto* bytes : {&png, &jpeg, &gif}) {
          const auto image = Image::withData(*bytes);
          if (!image) continue;
          auto canvas = ImageContext::create({16, 16});
          image->draw(canvas->context(), Rect(0, 0, 16, 16));
          if (canvas->image()->bitmap()->pixel(1, 1).alpha > 0) ++decoded;
        }
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(decoded, 4 * 20 * 3);
}

TEST(ImageTest, NamedPicturesComeFromTheBundleAtTheScreensScale) {
  pf_test::TemporaryFolder bundle;
  const auto bytes = fixture("quad.png");
  auto write = [&](const std::string& file) {
    std::ofstream(bundle.file(file), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  };
  write("button.png");
  write("button@2x.png");
  write("retina@2x.png");
  write("photo.jpg.png");
  Bundle::setMainBundlePath(bundle.path());
  struct Case {
    const char* name;
    double screenScale;
    double imageScale;  // 0: none
  };
  for (const Case& c : {Case{"button", 1, 1}, Case{"button", 2, 2}, Case{"button.png", 2, 2},
                        Case{"button@2x.png", 1, 2}, Case{"retina", 1, 2}, Case{"retina.png", 2, 2},
                        Case{"missing", 2, 0}, Case{"", 1, 0}, Case{"../button", 1, 0}}) {
    const auto image = Image::named(c.name, c.screenScale);
    SCOPED_TRACE(c.name);
    if (c.imageScale == 0) {
      EXPECT_FALSE(image);
      continue;
    }
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), c.imageScale);
  }
  // The same picture object answers again.
  EXPECT_EQ(Image::named("button", 2).get(), Image::named("button", 2).get());
  Bundle::setMainBundlePath("");
}

TEST(ImageTest, ScaleComesFromTheFileName) {
  EXPECT_EQ(Image::scaleForFileName("/a/b/icon@2x.png"), 2);
  EXPECT_EQ(Image::scaleForFileName("icon@2x.jpeg"), 2);
  EXPECT_EQ(Image::scaleForFileName("icon.png"), 1);
  EXPECT_EQ(Image::scaleForFileName("icon@2x"), 2);
  EXPECT_EQ(Image::scaleForFileName("/x@2x.d/icon.png"), 1);

  pf_test::TemporaryFolder folder;
  const auto bytes = fixture("quad.png");
  std::ofstream(folder.file("quad@2x.png"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  const auto image = Image::withContentsOfFile(folder.file("quad@2x.png"));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->scale(), 2);
  EXPECT_EQ(image->size(), (Size{2, 2}));
  EXPECT_FALSE(Image::withContentsOfFile(folder.file("missing.png")));
}

std::shared_ptr<Image> noisyPicture(int side) {
  auto bitmap = Bitmap::create(side, side);
  std::mt19937 random(3);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      bitmap->setPixel(
          x, y,
          {std::uint8_t(x * 4 + random() % 40), std::uint8_t(y * 4), std::uint8_t(random() % 256), 255});
  return Image::withBitmap(bitmap);
}

TEST(ImageTest, JpegQualityChangesTheSize) {
  const auto picture = noisyPicture(64);
  const auto low = picture->jpegData(0.1), half = picture->jpegData(0.5), high = picture->jpegData(0.95);
  ASSERT_TRUE(low && half && high);
  EXPECT_LT(low->size(), half->size());
  EXPECT_LT(half->size(), high->size());
  const auto decoded = Image::withData(*half);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->bitmap()->width(), 64);
}

// Catches: decoded pixels not counted (the app's memory figure would leave pictures out), a GIF's
// later frames left out, or a refused file counted.
TEST(ImageTest, DecodedBytesCountEveryFrameOfWhatDecoded) {
  const struct {
    const char* name;
    bool damaged;
  } cases[] = {{"quad.png", false}, {"photo.jpg", false}, {"frames.gif", false}, {"quad.png", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = fixture(c.name);
    if (c.damaged) bytes.resize(bytes.size() / 2);
    const std::uint64_t before = DecodedPixels::bytes();
    const auto image = Image::withData(bytes);
    std::uint64_t expected = 0;
    if (image) {
      const auto& frames = image->images();
      if (frames.empty()) expected = std::uint64_t(image->bitmap()->stride()) * image->bitmap()->height();
      for (const auto& frame : frames) {
        expected += std::uint64_t(frame->bitmap()->stride()) * std::uint64_t(frame->bitmap()->height());
      }
    }
    EXPECT_EQ(bool(image), !c.damaged);
    EXPECT_EQ(DecodedPixels::bytes() - before, expected);
    if (image && std::string(c.name) == "frames.gif") EXPECT_EQ(image->images().size(), 3u);
  }
}

TEST(ImageTest, PngEncodingRoundTripsExactly) {
  const auto original = Image::withData(fixture("quad.png"));
  const auto encoded = original->pngData();
  ASSERT_TRUE(encoded);
  const auto decoded = Image::withData(*encoded);
  ASSERT_TRUE(decoded);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(decoded->bitmap()->pixel(x, y), original->bitmap()->pixel(x, y));
}

TEST(ImageTest, JpegOfTransparentAreasIsBlack) {
  auto context = ImageContext::create({8, 8});
  context->context().setFillColor(Color::white());
  context->context().fillRect({0, 0, 4, 8});
  const auto decoded = Image::withData(*context->image()->jpegData(0.9));
  ASSERT_TRUE(decoded);
  expectPixelNear(*decoded->bitmap(), 1, 4, kWhite, 10);
  expectPixelNear(*decoded->bitmap(), 6, 4, {0, 0, 0, 255}, 10);
}

TEST(ImageContextTest, TakesAPictureAtItsScale) {
  auto canvas = ImageContext::create({10, 5}, false, 2);
  ASSERT_TRUE(canvas);
  canvas->context().setFillColor(Color::red());
  canvas->context().fillRect({0, 0, 5, 5});
  const auto picture = canvas->image();
  // Later drawing does not reach a picture already taken.
  canvas->context().fillRect({5, 0, 5, 5});
  EXPECT_EQ(picture->size(), (Size{10, 5}));
  EXPECT_EQ(picture->bitmap()->width(), 20);
  expectPixelNear(*picture->bitmap(), 9, 5, kRed, 0);
  expectPixelNear(*picture->bitmap(), 10, 5, {0, 0, 0, 0}, 0);
  expectPixelNear(*canvas->image()->bitmap(), 15, 5, kRed, 0);
  EXPECT_FALSE(ImageContext::create({0, 5}));
  auto opaque = ImageContext::create({2, 2}, true);
  EXPECT_TRUE(opaque->image()->bitmap()->isOpaque());

  // Finishing gives up the canvas for its picture: the same drawing and scale.
  const auto finished = ImageContext::finish(std::move(canvas));
  ASSERT_TRUE(finished);
  EXPECT_EQ(finished->size(), (Size{10, 5}));
  expectPixelNear(*finished->bitmap(), 15, 5, kRed, 0);
  EXPECT_FALSE(ImageContext::finish(nullptr));
}

}  // namespace
}  // namespace pf
