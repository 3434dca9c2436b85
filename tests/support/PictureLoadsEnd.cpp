// The toolkit's picture loads end with each case, as they would with the process.

#include "tests/support/CaseEnd.h"
#include "ui/webimage/WebImageDownloader.h"
#include "ui/webimage/WebImageManager.h"

namespace {

const bool kPictureLoadsEndWithTheCase = test_support::endEveryCaseWith([] {
  const auto manager = WebImageManager::sharedManager();
  manager->cancelAll();
  manager->imageDownloader()->downloadQueue()->cancelAllOperations();
  WebImageDownloader::sharedDownloader()->downloadQueue()->cancelAllOperations();
});

}  // namespace
