#pragma once
// Sends one picture to an upload address as a multipart form: one part "file". Synchronous: the
// calling thread (a background queue) waits for the transfer. Failures are not reported anywhere but
// in the answer: callers test success() on it (a null answer counts as failed too).

#include <memory>
#include <string>

#include "app/util/UploadResult.h"
#include "core/http/HttpProgressDelegate.h"
#include "platform/foundation/Value.h"

class FileUploader {
 public:
  // The bytes go as "image.jpg" with the form's default type. A failed transfer or a status other
  // than 200 answers an empty result; an answer that is no UploadResult JSON answers null or what
  // could be read of it.
  std::shared_ptr<UploadResult> uploadFile(const std::string& url, const pf::Data& data,
                                           std::weak_ptr<HttpProgressDelegate> delegate = {});
  // The same with a local file, named and typed after the file.
  std::shared_ptr<UploadResult> uploadFile(const std::string& url, const std::string& filePath,
                                           std::weak_ptr<HttpProgressDelegate> delegate = {});

 private:
  static constexpr char kFileField[] = "file";
  static constexpr char kDataFileName[] = "image.jpg";
};
