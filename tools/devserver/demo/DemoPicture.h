#pragma once
// The bytes of a demo cover picture: a PNG of one colour chosen from the picture's name, so every
// course shows its own cover.

#include <array>
#include <string>

namespace devserver {

class Exchange;

class DemoPicture {
 public:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 120;

  static std::string png(const std::string& name, int width = kWidth, int height = kHeight);
  // The one colour of the picture of that name, as red, green and blue.
  static std::array<unsigned char, 3> colour(const std::string& name);
  // Answers the picture with an ETag naming it, or 304 when the request already holds that ETag.
  static void answer(Exchange& exchange, const std::string& name, int width = kWidth, int height = kHeight);
};

}  // namespace devserver
