#include "app/service/cmn/OpenFileService.h"

#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"

namespace {

std::optional<std::string> address(const std::string& uri, ServiceManager::ParamDic params,
                                   const std::shared_ptr<ServiceDelegate>& delegate) {
  const pf::Value answer = ServiceManager::performRemoteMethod(uri, params, "NSString", delegate);
  if (const std::string* text = answer.string()) return *text;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> OpenFileService::getSystemUploadUrl() {
  return address("/v1/sf/file/getSystemUploadUrl", {}, delegate());
}

std::optional<std::string> OpenFileService::getNormalUploadUrl() {
  return address("/v1/sf/file/getNormalUploadUrl", {}, delegate());
}

std::optional<std::string> OpenFileService::getImgUploadUrl(bool useSys) {
  return address("/v1/sf/file/getImgUploadUrl", {{"useSys", openValue(pf::Value(useSys))}}, delegate());
}
