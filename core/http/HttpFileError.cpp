#include "core/http/HttpFileError.h"

#include "core/http/HttpRequestError.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/Uuid.h"
#include "platform/net/StreamError.h"

std::string HttpFileError::temporaryFilePath() {
  return pf::path::appendingPathComponent(pf::Sandbox::temporaryPath(), pf::Uuid::random().text());
}

pf::ErrorPtr HttpFileError::make(const std::string& description, const std::error_code& cause) {
  pf::Dictionary info{{pf::kLocalizedDescriptionKey, description}};
  if (cause) info[pf::kUnderlyingErrorKey] = pf::StreamError::posix(cause.value(), cause.message());
  return std::make_shared<pf::Error>(NetworkRequestErrorDomain,
                                     static_cast<long>(HttpRequestErrorCode::FileManagement), std::move(info));
}
