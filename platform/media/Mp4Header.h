#pragma once
// Reads a movie's length from the header of an MP4 file (the movie header box inside the movie box)
// without decoding anything. Box sizes are checked against their parents and the file: a header that
// claims more than there is, or too little to hold its fields, is refused rather than trusted.

#include <optional>
#include <string>

namespace pf {

class Mp4Header {
 public:
  // Seconds, or nullopt with the reason in `error` when the file is missing, not MP4 or inconsistent.
  static std::optional<double> readDuration(const std::string& path, std::string* error = nullptr);
};

}  // namespace pf
