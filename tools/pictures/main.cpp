// Draws every picture of the application's table into a bundle folder, as "name.png" and
// "name@2x.png". Usage: marlune-pictures <bundle folder>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/graphics/ImageContext.h"
#include "tools/pictures/Picture.h"
#include "tools/pictures/PicturePainter.h"

namespace {

bool writePicture(const pictures::Picture& picture, double scale, const std::string& path) {
  auto canvas = pf::ImageContext::create({picture.width, picture.height}, false, scale);
  if (!canvas) return false;
  pictures::PicturePainter::paint(picture, canvas->context());
  const auto png = canvas->image()->pngData();
  if (!png) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <bundle folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  int failures = 0;
  for (const auto& picture : pictures::pictureTable()) {
    const std::string base = folder + "/" + picture.name;
    for (const auto& [scale, path] : {std::pair{1.0, base + ".png"}, std::pair{2.0, base + "@2x.png"}}) {
      if (writePicture(picture, scale, path)) continue;
      std::fprintf(stderr, "could not write %s\n", path.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
