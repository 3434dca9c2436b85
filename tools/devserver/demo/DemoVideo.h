#pragma once
// The bytes of a short demo video: an MP4 whose movie header gives the length (what a player reads
// to show the duration and to judge progress) followed by filler media data of about 2 KB per
// second, so that downloads show progress and can be resumed midway.

#include <string>

namespace devserver {

class DemoVideo {
 public:
  static std::string mp4(int seconds);
};

}  // namespace devserver
