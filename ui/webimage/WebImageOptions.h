#pragma once
// Option bits of a picture load.

enum WebImageOptions : int {
  // Fetch a URL even when it failed before.
  WebImageRetryFailed = 1,
  WebImageLowPriority = 2,
  // Keep a downloaded picture in memory only (no file).
  WebImageCacheMemoryOnly = 4,
  // Partial pictures while loading.
  WebImageProgressiveDownload = 8,
  // Deliver a cached picture, then ask the server again and deliver a changed one.
  WebImageRefreshCached = 16,
};
