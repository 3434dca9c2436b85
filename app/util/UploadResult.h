#pragma once
// The upload address's answer about a stored file, filled from its JSON by property name (all text).
// A post refers to the picture by storedFileId.

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class UploadResult : public pf::Object {
  PF_OBJECT(UploadResult, pf::Object)

  std::optional<std::string> fsId;
  std::optional<std::string> storedFileId;
  std::optional<std::string> storedFileName;
  std::optional<std::string> fileSize;
  std::optional<std::string> contentType;
  std::optional<std::string> signedUrl;
  std::optional<std::string> signedDownloadUrl;
  // "DONE" once the store processed the upload.
  std::optional<std::string> processResultStatus;
  std::optional<std::string> processResultMessage;
  std::optional<std::string> extractResultStatus;
  std::optional<std::string> subFileList;
  std::optional<std::string> secured;
  std::optional<std::string> async;
  std::optional<std::string> system;
  std::optional<std::string> responseFormat;
  std::optional<std::string> uploadProcessorName;

  // Exactly "DONE", case and all.
  bool success() const { return processResultStatus == "DONE"; }

  static void declareProperties(pf::ClassBuilder<UploadResult>& b);
};
