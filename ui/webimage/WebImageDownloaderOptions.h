#pragma once
// Option bits of a picture download.

enum WebImageDownloaderOptions : int {
  WebImageDownloaderLowPriority = 1,
  // Partial pictures on the main queue while the bytes arrive.
  WebImageDownloaderProgressiveDownload = 2,
  // Through the URL cache: a stored response is revalidated instead of fetched again.
  WebImageDownloaderUseNSURLCache = 4,
  // A response answered from the URL cache completes with no picture.
  WebImageDownloaderIgnoreCachedResponse = 8,
};
