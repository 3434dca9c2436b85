#pragma once
// Where a cached picture came from, with the numbers callers compare against.

enum class ImageCacheType : int {
  None = 0,  // not cached: from the network, or nowhere
  Disk = 1,
  Memory = 2,
};
