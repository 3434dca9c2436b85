// The files of an HttpRequest: the temporary file a download is written to (appended to when a range
// resumes it), the inflated copy, moving the finished file to its destination, and removing temporary
// files. A download becomes the destination file only when the server answered with success.

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "core/http/GzipDecompressor.h"
#include "core/http/HttpFileError.h"
#include "core/http/HttpRequest.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/TextHelpers.h"

namespace {

// The largest error page kept in memory when a download is refused.
constexpr std::size_t kMaxErrorBody = 65536;


std::error_code lastSystemError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

pf::ErrorPtr moveFile(const std::string& from, const std::string& to) {
  std::error_code cause;
  std::filesystem::rename(from, to, cause);
  if (cause == std::errc::cross_device_link) {
    cause.clear();
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, cause);
    if (!cause) std::filesystem::remove(from, cause);
  }
  if (!cause) return nullptr;
  return HttpFileError::make(pf::format("Failed to move file from '%@' to '%@'", from, to), cause);
}

// The old destination goes first; a folder in its place is never deleted.
pf::ErrorPtr replaceFile(const std::string& from, const std::string& to) {
  pf::ErrorPtr failure;
  if (!HttpRequest::removeFileAtPath(to, &failure)) return failure;
  return moveFile(from, to);
}

std::shared_ptr<std::ofstream> openOutput(const std::string& path, bool append) {
  return std::make_shared<std::ofstream>(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
}

// The first byte position of "bytes 1000-1999/2000"; nullopt for anything else.
std::optional<std::uint64_t> rangeStart(const std::string& contentRange) {
  const std::string text = pf::text::trimWhitespace(contentRange);
  if (pf::text::findIgnoringCase(text, "bytes ") != 0) return std::nullopt;
  const std::size_t dash = text.find('-', 6);
  if (dash == std::string::npos) return std::nullopt;
  const std::string digits = pf::text::trimWhitespace(text.substr(6, dash - 6));
  if (digits.empty() || digits.size() > 19 || digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return std::stoull(digits);
}

std::optional<std::string> responseHeader(const HttpRequest& request, std::string_view name) {
  const std::optional<pf::Dictionary> headers = request.responseHeaders.get();
  if (!headers) return std::nullopt;
  for (const auto& [key, value] : *headers) {
    if (pf::text::equalsIgnoringCase(key, name) && value.string()) return *value.string();
  }
  return std::nullopt;
}

}  // namespace

void HttpRequest::writeDownloadChunk(const std::uint8_t* bytes, std::size_t length,
                                     const std::optional<pf::Data>& inflated) {
  if (!isSuccessfulStatus()) {
    // Neither the partial file nor the destination hears of an error page; a little of it is kept to read.
    rawResponseData.update([&](std::optional<pf::Data>& data) {
      if (!data) data.emplace();
      const std::size_t room = kMaxErrorBody - std::min(kMaxErrorBody, data->size());
      data->insert(data->end(), bytes, bytes + std::min(room, length));
    });
    return;
  }
  if (!fileDownloadOutputStream && !openDownloadFiles()) return;
  fileDownloadOutputStream->write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(length));
  if (!*fileDownloadOutputStream) return failWithWriteError(temporaryFileDownloadPath.get().value_or(""));
  if (!inflated || !inflatedFileDownloadOutputStream) return;
  inflatedFileDownloadOutputStream->write(reinterpret_cast<const char*>(inflated->data()),
                                          static_cast<std::streamsize>(inflated->size()));
  if (!*inflatedFileDownloadOutputStream) {
    failWithWriteError(temporaryUncompressedDataDownloadPath.get().value_or(""));
  }
}

bool HttpRequest::openDownloadFiles() {
  bool append = false;
  std::optional<std::string> temporary = temporaryFileDownloadPath.get();
  if (!temporary) {
    temporary = HttpFileError::temporaryFilePath();
    temporaryFileDownloadPath.set(temporary);
  } else if (allowResumeForFileDownloads &&
             requestHeaders.get().value_or(pf::Dictionary{}).contains("Range")) {
    append = true;
    const std::optional<std::string> contentRange = responseHeader(*this, "Content-Range");
    if (!contentRange) {
      // The server ignored the range: the whole body comes again.
      incrementDownloadSizeBy(-static_cast<long long>(partialDownloadSize.load()));
      partialDownloadSize = 0;
      append = false;
    } else if (rangeStart(*contentRange) != partialDownloadSize.load()) {
      failWithError(HttpFileError::make(pf::format("The answer's range '%@' does not continue the %llu bytes of '%@'",
                                         *contentRange, partialDownloadSize.load(), *temporary),
                              std::make_error_code(std::errc::invalid_argument)));
      return false;
    }
  }
  errno = 0;
  fileDownloadOutputStream = openOutput(*temporary, append);
  if (!*fileDownloadOutputStream) {
    failWithWriteError(*temporary);
    return false;
  }
  if (!isResponseCompressed() || shouldWaitToInflateCompressedResponses) return true;
  std::optional<std::string> uncompressed = temporaryUncompressedDataDownloadPath.get();
  if (!uncompressed) {
    uncompressed = HttpFileError::temporaryFilePath();
    temporaryUncompressedDataDownloadPath.set(uncompressed);
  }
  inflatedFileDownloadOutputStream = openOutput(*uncompressed, append);
  if (!*inflatedFileDownloadOutputStream) {
    failWithWriteError(*uncompressed);
    return false;
  }
  return true;
}

void HttpRequest::failWithWriteError(const std::string& path) {
  const std::error_code cause = lastSystemError();
  closeDownloadStreams();
  failWithError(HttpFileError::make(pf::format("Failed to write to file at path '%@'", path), cause));
}

pf::ErrorPtr HttpRequest::closeDownloadStreams() {
  pf::ErrorPtr failure;
  const auto close = [&](std::shared_ptr<std::ofstream>& stream, const std::optional<std::string>& path) {
    if (!stream) return;
    errno = 0;
    stream->close();
    if (stream->fail() && !failure) {
      failure =
          HttpFileError::make(pf::format("Failed to write to file at path '%@'", path.value_or("")), lastSystemError());
    }
    stream.reset();
  };
  close(fileDownloadOutputStream, temporaryFileDownloadPath.get());
  close(inflatedFileDownloadOutputStream, temporaryUncompressedDataDownloadPath.get());
  return failure;
}

pf::ErrorPtr HttpRequest::finishDownloadFile() {
  const bool wroteThisAttempt = fileDownloadOutputStream != nullptr;
  pf::ErrorPtr closing = closeDownloadStreams();
  // The temporary file stays for the attempt that follows a redirect or a challenge.
  if (needsRedirect || authenticationNeeded != 0 || error.get()) return nullptr;
  if (!isSuccessfulStatus()) return statusError();
  if (closing) return closing;
  // A delegate that took the data took the file's place.
  if (!wroteThisAttempt && hasDataHandler()) return nullptr;
  if (!wroteThisAttempt) {
    // An empty body still makes a file (or keeps the resumed one as it is).
    if (!openDownloadFiles()) return nullptr;
    if ((closing = closeDownloadStreams())) return closing;
  }
  const std::string temporary = temporaryFileDownloadPath.get().value_or("");
  const std::string destination = downloadDestinationPath.get().value_or("");
  if (!isResponseCompressed()) {
    pf::ErrorPtr failure = replaceFile(temporary, destination);
    if (!failure) temporaryFileDownloadPath.set(std::nullopt);
    return failure;
  }
  pf::ErrorPtr failure;
  if (shouldWaitToInflateCompressedResponses) {
    // Inflated beside the destination first, so a corrupt body never replaces a good file.
    const std::string inflated = HttpFileError::temporaryFilePath();
    if (GzipDecompressor::uncompressDataFromFile(temporary, inflated, &failure)) {
      failure = replaceFile(inflated, destination);
    }
    removeFileAtPath(inflated, nullptr);
  } else {
    failure = replaceFile(temporaryUncompressedDataDownloadPath.get().value_or(""), destination);
    if (!failure) temporaryUncompressedDataDownloadPath.set(std::nullopt);
  }
  removeTemporaryDownloadFile();
  return failure;
}

pf::ErrorPtr HttpRequest::statusError() const {
  const std::string description =
      pf::format("The server answered %d: nothing was written to '%@'", responseStatusCode.load(),
                 downloadDestinationPath.get().value_or(""));
  return std::make_shared<pf::Error>(
      NetworkRequestErrorDomain, static_cast<long>(HttpRequestErrorCode::FileManagement),
      pf::Dictionary{{pf::kLocalizedDescriptionKey, description},
                     {"HttpResponseStatusCode", pf::Value(pf::Number(responseStatusCode.load()))}});
}

// ---- removing files ----

bool HttpRequest::removeFileAtPath(const std::string& path, pf::ErrorPtr* err) {
  std::error_code cause;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, cause);
  if (!std::filesystem::exists(status)) return true;
  if (std::filesystem::is_directory(status)) {
    cause = std::make_error_code(std::errc::is_a_directory);
  } else {
    std::filesystem::remove(path, cause);
  }
  if (!cause) return true;
  if (err) *err = HttpFileError::make(pf::format("Failed to delete file at path '%@'", path), cause);
  return false;
}

bool HttpRequest::removeTemporaryFile(std::optional<std::string> path, const std::function<void()>& forget) {
  if (!path) return true;
  pf::ErrorPtr failure;
  if (!removeFileAtPath(*path, &failure)) {
    failWithError(failure);
    return false;
  }
  forget();
  return true;
}

bool HttpRequest::removeTemporaryDownloadFile() {
  return removeTemporaryFile(temporaryFileDownloadPath.get(),
                             [this] { temporaryFileDownloadPath.set(std::nullopt); });
}

bool HttpRequest::removeTemporaryUncompressedDownloadFile() {
  return removeTemporaryFile(temporaryUncompressedDataDownloadPath.get(),
                             [this] { temporaryUncompressedDataDownloadPath.set(std::nullopt); });
}

bool HttpRequest::removeTemporaryUploadFile() {
  return removeTemporaryFile(postBodyFilePath.get(), [this] { postBodyFilePath.set(std::nullopt); });
}

bool HttpRequest::removeTemporaryCompressedUploadFile() {
  return removeTemporaryFile(compressedPostBodyFilePath, [this] { compressedPostBodyFilePath.reset(); });
}
