#include "tools/devserver/demo/DemoVideo.h"

#include <cstdint>

namespace devserver {

namespace {

constexpr std::uint32_t kTimescale = 1000;
constexpr std::size_t kBytesPerSecond = 2048;

void appendBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::string box(const char* type, const std::string& payload) {
  std::string out;
  appendBigEndian32(out, static_cast<std::uint32_t>(payload.size() + 8));
  out += type;
  return out + payload;
}

std::string movieHeader(int seconds) {
  std::string payload;
  appendBigEndian32(payload, 0);  // version and flags
  appendBigEndian32(payload, 0);  // creation time
  appendBigEndian32(payload, 0);  // modification time
  appendBigEndian32(payload, kTimescale);
  appendBigEndian32(payload, static_cast<std::uint32_t>(seconds) * kTimescale);
  appendBigEndian32(payload, 0x00010000);             // rate 1.0
  payload += std::string("\x01\x00", 2);  // volume 1.0
  payload += std::string(10, '\0');       // reserved
  for (std::uint32_t entry : {0x00010000u, 0u, 0u, 0u, 0x00010000u, 0u, 0u, 0u, 0x40000000u})
    appendBigEndian32(payload, entry);
  payload += std::string(24, '\0');  // pre-defined
  appendBigEndian32(payload, 1);                 // next track id
  return box("mvhd", payload);
}

}  // namespace

std::string DemoVideo::mp4(int seconds) {
  std::string fileType;
  fileType += "isom";
  appendBigEndian32(fileType, 0x200);
  fileType += "isommp41";
  std::string media(static_cast<std::size_t>(seconds) * kBytesPerSecond, '\0');
  for (std::size_t i = 0; i < media.size(); ++i) media[i] = static_cast<char>(i * 31 % 251);
  return box("ftyp", fileType) + box("moov", movieHeader(seconds)) + box("mdat", media);
}

}  // namespace devserver
