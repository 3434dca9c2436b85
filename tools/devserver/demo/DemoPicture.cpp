#include "tools/devserver/demo/DemoPicture.h"

#include <zlib.h>

#include <cstdint>
#include <functional>

#include "tools/devserver/Exchange.h"

namespace devserver {

namespace {

void put32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::string chunk(const char* type, const std::string& data) {
  std::string out;
  put32(out, static_cast<std::uint32_t>(data.size()));
  const std::string typed = type + data;
  out += typed;
  put32(out, static_cast<std::uint32_t>(
                 crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
  return out;
}

}  // namespace

std::array<unsigned char, 3> DemoPicture::colour(const std::string& name) {
  const std::size_t hash = std::hash<std::string>{}(name);
  // Mid-tone colours, light enough for dark text and dark enough for light text.
  return {static_cast<unsigned char>(80 + hash % 140), static_cast<unsigned char>(80 + hash / 140 % 140),
          static_cast<unsigned char>(80 + hash / 19600 % 140)};
}

std::string DemoPicture::png(const std::string& name, int width, int height) {
  const auto [red, green, blue] = colour(name);
  const char rgb[3] = {static_cast<char>(red), static_cast<char>(green), static_cast<char>(blue)};
  std::string rows;
  for (int y = 0; y < height; ++y) {
    rows += '\0';  // no filter
    for (int x = 0; x < width; ++x) rows.append(rgb, 3);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(rows.data()),
            static_cast<uLong>(rows.size()), Z_BEST_COMPRESSION);
  packed.resize(packedSize);

  std::string header;
  put32(header, static_cast<std::uint32_t>(width));
  put32(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, deflate, no filter, no interlace
  return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", packed) +
         chunk("IEND", "");
}

void DemoPicture::answer(Exchange& exchange, const std::string& name, int width, int height) {
  // The picture never changes while the server runs: its name and size are its version.
  const std::string etag = "\"" + name + "-" + std::to_string(width) + "x" + std::to_string(height) + "\"";
  if (exchange.request().header("If-None-Match") == etag) return exchange.respond(304, "", {{"ETag", etag}});
  exchange.respond(200, png(name, width, height), {{"Content-Type", "image/png"}, {"ETag", etag}});
}

}  // namespace devserver
