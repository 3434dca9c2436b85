#pragma once
// The bytes of a demo cover picture: a PNG of one colour chosen from the picture's name, so every
// course shows its own cover.

#include <string>

namespace devserver {

class DemoPicture {
 public:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 120;

  static std::string png(const std::string& name);
};

}  // namespace devserver
