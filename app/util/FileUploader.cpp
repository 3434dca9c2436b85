#include "app/util/FileUploader.h"

#include <functional>

#include "core/http/FormDataRequest.h"
#include "core/json/JsonUtil.h"
#include "platform/net/Url.h"

namespace {

std::shared_ptr<UploadResult> send(const std::string& url, std::weak_ptr<HttpProgressDelegate> delegate,
                                   const std::function<void(FormDataRequest&)>& attach) {
  auto result = std::make_shared<UploadResult>();
  const FormDataRequest::Ptr request = FormDataRequest::requestWithURL(pf::Url::parse(url));
  request->setPostFormat(FormDataRequest::PostFormat::MultipartFormData);
  request->setUploadProgressDelegate(std::move(delegate));
  attach(*request);
  request->startSynchronous();
  if (request->error.get() || request->responseStatusCode != 200) {
    request->clearDelegatesAndCancel();
    return result;
  }
  pf::ErrorPtr error;
  const pf::Value answer = JsonUtil::objectFromJsonData(request->responseData().value_or(pf::Data()),
                                                        UploadResult::kClassName, &error);
  if (error) request->clearDelegatesAndCancel();
  return answer.objectAs<UploadResult>();
}

}  // namespace

std::shared_ptr<UploadResult> FileUploader::uploadFile(const std::string& url, const pf::Data& data,
                                                       std::weak_ptr<HttpProgressDelegate> delegate) {
  return send(url, std::move(delegate), [&data](FormDataRequest& request) {
    request.setData(data, kDataFileName, std::nullopt, kFileField);
  });
}

std::shared_ptr<UploadResult> FileUploader::uploadFile(const std::string& url, const std::string& filePath,
                                                       std::weak_ptr<HttpProgressDelegate> delegate) {
  return send(url, std::move(delegate),
              [&filePath](FormDataRequest& request) { request.setFile(filePath, kFileField); });
}
