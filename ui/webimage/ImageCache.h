#pragma once
// The shared picture cache. So far only where it keeps its files: the folder of its default
// namespace inside the application's Caches folder, which clearing the caches empties by name.

#include <string>

class ImageCache {
 public:
  static constexpr char kDefaultNamespaceFolder[] = "com.tessavorn.WebImageCache.default";

  // Caches/<kDefaultNamespaceFolder>.
  static std::string defaultDiskCachePath();
};
