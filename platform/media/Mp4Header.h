#pragma once
// Reads a movie's length from the header of an MP4 file (the movie header box inside the movie box)
// without decoding anything. Box sizes are checked against their parents and the file: a header that
// claims more than there is, or too little to hold its fields, is refused rather than trusted.

#include <optional>
#include <string>
#include <vector>

namespace pf {

class Mp4Header {
 public:
  // Seconds, or nullopt with the reason in `error` when the file is missing, not MP4 or inconsistent.
  static std::optional<double> readDuration(const std::string& path, std::string* error = nullptr);
  // The same from the first bytes of a stream, whose movie box must lie wholly inside them.
  static std::optional<double> readDurationFromPrefix(const std::vector<unsigned char>& prefix,
                                                      std::string* error = nullptr);

 private:
  static std::optional<double> durationInMovie(const std::vector<unsigned char>& movie, std::string* error);
};

}  // namespace pf
