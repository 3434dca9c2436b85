#pragma once
// The server's file store: the addresses pictures and files are uploaded to (FileUploader sends them).
// Each answers the address, or nullopt after reporting the failure to the delegate.

#include <optional>
#include <string>

#include "core/open/OpenService.h"

class OpenFileService : public OpenService {
 public:
  using OpenService::OpenService;

  std::optional<std::string> getSystemUploadUrl();
  std::optional<std::string> getNormalUploadUrl();
  // useSys: the system store rather than the user's; the client asks with false.
  std::optional<std::string> getImgUploadUrl(bool useSys);
};
