#include "ui/webimage/ScaledImageForKey.h"

#include <vector>

namespace {

double scaleOfKey(const std::string& key) {
  if (key.size() < 8) return 1.0;
  return key.substr(key.size() - 8, 5).find("@2x.") != std::string::npos ? 2.0 : 1.0;
}

}  // namespace

std::shared_ptr<const pf::Image> ScaledImageForKey(const std::string& key,
                                                   const std::shared_ptr<const pf::Image>& image) {
  if (!image) return nullptr;
  if (!image->images().empty()) {
    std::vector<std::shared_ptr<const pf::Image>> frames;
    for (const auto& frame : image->images()) frames.push_back(ScaledImageForKey(key, frame));
    return pf::Image::animated(std::move(frames), image->duration());
  }
  return image->withScale(scaleOfKey(key));
}
