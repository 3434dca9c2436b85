#include "platform/graphics/GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace pf {

namespace {

constexpr std::int64_t kMinFramePixels = 4096;

struct Source {
  std::span<const std::uint8_t> bytes;
  std::size_t offset = 0;
};

int readBytes(GifFileType* gif, GifByteType* out, int wanted) {
  auto* source = static_cast<Source*>(gif->UserData);
  const std::size_t n =
      std::min<std::size_t>(static_cast<std::size_t>(wanted), source->bytes.size() - source->offset);
  std::memcpy(out, source->bytes.data() + source->offset, n);
  source->offset += n;
  return static_cast<int>(n);
}

std::uint16_t littleEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// Walks the blocks without decoding them and adds up every frame's own area (at least kMinFramePixels
// each): the pixels giflib will decode, known before it decodes one. Stops at the trailer or at bytes
// that are not a block (the decoder refuses those itself).
std::int64_t gifDecodingWork(std::span<const std::uint8_t> bytes) {
  std::size_t at = 13;
  if (bytes.size() < at) return 0;
  if (bytes[10] & 0x80) at += 3u << ((bytes[10] & 7) + 1);
  auto skipSubBlocks = [&] {
    while (at < bytes.size() && bytes[at] != 0) at += 1u + bytes[at];
    ++at;
  };
  std::int64_t work = 0;
  while (at < bytes.size()) {
    const std::uint8_t introducer = bytes[at++];
    if (introducer == 0x21) {
      ++at;
      skipSubBlocks();
    } else if (introducer == 0x2c && at + 9 <= bytes.size()) {
      const std::int64_t area = std::int64_t{littleEndian16(bytes, at + 4)} * littleEndian16(bytes, at + 6);
      work += std::max(area, kMinFramePixels);
      const std::uint8_t packed = bytes[at + 8];
      at += 9;
      if (packed & 0x80) at += 3u << ((packed & 7) + 1);
      ++at;  // the LZW minimum code size
      skipSubBlocks();
    } else {
      break;
    }
  }
  return work;
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// The logical screen as straight ARGB words; frames are drawn onto it and copied out.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), words_(std::size_t(width) * height, 0) {}

  // Reads one frame's indexes from the file and paints the opaque ones.
  bool paintFrame(GifFileType* gif, int transparentIndex) {
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || desc.Width <= 0 || desc.Height <= 0) return false;
    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    static constexpr int kInterlacedStart[] = {0, 4, 2, 1};
    static constexpr int kInterlacedStep[] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
      const int start = desc.Interlace ? kInterlacedStart[pass] : 0;
      const int step = desc.Interlace ? kInterlacedStep[pass] : 1;
      for (int y = start; y < desc.Height; y += step) {
        if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) return false;
        paintLine(desc.Left, desc.Top + y, line, *map, transparentIndex);
      }
    }
    return true;
  }

  void clear(const GifImageDesc& desc) {
    for (int y = std::max(desc.Top, 0); y < std::min(desc.Top + desc.Height, height_); ++y)
      for (int x = std::max(desc.Left, 0); x < std::min(desc.Left + desc.Width, width_); ++x)
        words_[std::size_t(y) * width_ + x] = 0;
  }

  std::shared_ptr<Bitmap> snapshot() const {
    auto bitmap = Bitmap::create(width_, height_);
    if (!bitmap) return nullptr;
    for (int y = 0; y < height_; ++y)
      std::memcpy(bitmap->data() + std::ptrdiff_t(bitmap->stride()) * y, &words_[std::size_t(y) * width_],
                  std::size_t(width_) * 4);
    return bitmap;
  }

  std::vector<std::uint32_t>& words() { return words_; }

 private:
  void paintLine(int left, int y, const std::vector<GifPixelType>& line, const ColorMapObject& map,
                 int transparentIndex) {
    if (y < 0 || y >= height_) return;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const int x = left + static_cast<int>(i);
      const int index = line[i];
      if (x < 0 || x >= width_ || index == transparentIndex || index >= map.ColorCount) continue;
      const GifColorType c = map.Colors[index];
      // Opaque pixels need no premultiplying, so the words double as the bitmap's.
      words_[std::size_t(y) * width_ + x] =
          0xff000000u | (std::uint32_t{c.Red} << 16) | (std::uint32_t{c.Green} << 8) | c.Blue;
    }
  }

  int width_;
  int height_;
  std::vector<std::uint32_t> words_;
};

}  // namespace

double GifAnimation::duration() const {
  const double total = std::accumulate(delays.begin(), delays.end(), 0.0);
  return total > 0 ? total : 0.1 * static_cast<double>(frames.size());
}

bool GifDecoder::looksLikeGif(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 6 && std::memcmp(bytes.data(), "GIF8", 4) == 0;
}

std::optional<GifAnimation> GifDecoder::decode(std::span<const std::uint8_t> bytes) {
  if (!looksLikeGif(bytes)) return std::nullopt;
  // Frames may lie far outside a small logical screen: their own areas, not the screen's, are the work.
  if (gifDecodingWork(bytes) > Bitmap::kMaxPixels) return std::nullopt;
  Source source{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, readBytes, &error));
  if (!gif || !Bitmap::fitsBudget(gif->SWidth, gif->SHeight)) return std::nullopt;
  Canvas canvas(gif->SWidth, gif->SHeight);
  GifAnimation animation;
  GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return std::nullopt;
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) return std::nullopt;
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
        DGifExtensionToGCB(block[0], block + 1, &control);
      while (block)
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) return std::nullopt;
    } else if (type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return std::nullopt;
      // Every frame costs at least kMinFramePixels, so thousands of tiny frames cannot add up to
      // millions of allocations; a frame's own area is bounded too, so its lines cannot take minutes.
      const std::int64_t framePixels =
          std::max<std::int64_t>(std::int64_t{gif->SWidth} * gif->SHeight, kMinFramePixels);
      if (!Bitmap::fitsBudget(framePixels, 1, std::int64_t(animation.frames.size()) + 1) ||
          !Bitmap::fitsBudget(gif->Image.Width, gif->Image.Height))
        return std::nullopt;
      const std::vector<std::uint32_t> before =
          control.DisposalMode == DISPOSE_PREVIOUS ? canvas.words() : std::vector<std::uint32_t>{};
      if (!canvas.paintFrame(gif.get(), control.TransparentColor)) return std::nullopt;
      auto frame = canvas.snapshot();
      if (!frame) return std::nullopt;
      animation.frames.push_back(std::move(frame));
      animation.delays.push_back(control.DelayTime / 100.0);
      if (control.DisposalMode == DISPOSE_BACKGROUND) canvas.clear(gif->Image);
      if (control.DisposalMode == DISPOSE_PREVIOUS) canvas.words() = before;
      control = {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    }
  }
  if (animation.frames.empty()) return std::nullopt;
  return animation;
}

}  // namespace pf
