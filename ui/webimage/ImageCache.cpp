#include "ui/webimage/ImageCache.h"

#include "core/util/FileTool.h"

std::string ImageCache::defaultDiskCachePath() {
  return FileTool::getCachesPath() + "/" + kDefaultNamespaceFolder;
}
