// Building the outgoing message of an HttpRequest: body and headers.

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/http/GzipCompressor.h"
#include "core/http/HttpFileError.h"
#include "core/http/HttpRequest.h"
#include "platform/foundation/Format.h"
#include "platform/net/HttpCookieStorage.h"

void HttpRequest::buildPostBody() {
  std::lock_guard lock(cancelledLock_);
  if (haveBuiltPostBody) return;
  const std::optional<std::string> file = postBodyFilePath.get();
  const std::optional<std::uint64_t> length = file ? buildFileBody(*file) : buildMemoryBody();
  if (!length) return;
  postLength = *length;
  if (*length != 0) {
    if (requestMethod_ == "GET" || requestMethod_ == "DELETE" || requestMethod_ == "HEAD")
      setRequestMethod("POST");
    addRequestHeader("Content-Length", pf::format("%llu", *length));
  }
  haveBuiltPostBody = true;
}

std::optional<std::uint64_t> HttpRequest::buildFileBody(const std::string& path) {
  if (postBodyWriteStream) {
    postBodyWriteStream->close();
    postBodyWriteStream.reset();
  }
  if (!shouldCompressRequestBody) return fileSize(path);
  if (!compressedPostBodyFilePath) {
    const std::string target = HttpFileError::temporaryFilePath();
    pf::ErrorPtr failure;
    if (!GzipCompressor::compressDataFromFile(path, target, &failure)) {
      failWithError(failure);
      return std::nullopt;
    }
    compressedPostBodyFilePath = target;
  }
  return fileSize(*compressedPostBodyFilePath);
}

std::optional<std::uint64_t> HttpRequest::buildMemoryBody() {
  const std::optional<pf::Data> body = postBody.get();
  if (!shouldCompressRequestBody) return body ? body->size() : 0;
  pf::ErrorPtr failure;
  compressedPostBody = body ? GzipCompressor::compressData(*body, &failure) : std::nullopt;
  if (failure) {
    failWithError(failure);
    return std::nullopt;
  }
  return compressedPostBody ? compressedPostBody->size() : 0;
}

std::optional<std::uint64_t> HttpRequest::fileSize(const std::string& path) {
  std::error_code cause;
  const std::uintmax_t size = std::filesystem::file_size(path, cause);
  if (!cause) return size;
  failWithError(HttpFileError::make(pf::format("Failed to get attributes for file at path '%@'", path), cause));
  return std::nullopt;
}

void HttpRequest::setupPostBody() {
  if (!shouldStreamPostDataFromDisk) {
    postBody.update([](std::optional<pf::Data>& body) {
      if (!body) body.emplace();
    });
    return;
  }
  std::optional<std::string> path = postBodyFilePath.get();
  if (!path) {
    path = HttpFileError::temporaryFilePath();
    postBodyFilePath.set(path);
    didCreateTemporaryPostDataFile = true;
  }
  if (!postBodyWriteStream) {
    postBodyWriteStream = std::make_shared<std::ofstream>(*path, std::ios::binary | std::ios::trunc);
  }
}

void HttpRequest::appendPostData(const pf::Data& data) {
  std::lock_guard lock(cancelledLock_);
  setupPostBody();
  if (data.empty()) return;
  if (!shouldStreamPostDataFromDisk) {
    postBody.update(
        [&](std::optional<pf::Data>& body) { body->insert(body->end(), data.begin(), data.end()); });
    return;
  }
  postBodyWriteStream->write(reinterpret_cast<const char*>(data.data()),
                             static_cast<std::streamsize>(data.size()));
  if (!*postBodyWriteStream) {
    failWithError(
        HttpFileError::make(pf::format("Failed to write to file at path '%@'", postBodyFilePath.get().value_or("")),
                  std::make_error_code(std::errc::io_error)));
  }
}

bool HttpRequest::appendPostDataFromFile(const std::string& file) {
  std::lock_guard lock(cancelledLock_);
  std::ifstream in(file, std::ios::binary);
  std::vector<char> chunk(kFileCopyChunkSize);
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto count = static_cast<std::size_t>(in.gcount());
    if (count > 0)
      appendPostData(pf::Data(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count)));
  }
  if (in.eof() && !in.bad()) return true;
  failWithError(HttpFileError::make(pf::format("Failed to read from file at path '%@'", file),
                          std::make_error_code(std::errc::no_such_file_or_directory)));
  return false;
}

void HttpRequest::buildRequestHeaders() {
  std::lock_guard lock(cancelledLock_);
  if (haveBuiltRequestHeaders) return;
  haveBuiltRequestHeaders = true;
  if (Ptr main = mainRequest.get().lock()) {
    requestHeaders.set(main->requestHeaders.get());
    return;
  }
  applyCookieHeader();
  const std::optional<pf::Dictionary> headers = requestHeaders.get();
  if (!headers || !headers->contains("User-Agent")) {
    std::optional<std::string> agent = userAgentString.get();
    if (!agent) agent = defaultUserAgentString();
    if (agent) addRequestHeader("User-Agent", *agent);
  }
  if (allowCompressedResponse) addRequestHeader("Accept-Encoding", "gzip");
  if (shouldCompressRequestBody) addRequestHeader("Content-Encoding", "gzip");
  updatePartialDownloadSize();
  if (partialDownloadSize != 0)
    addRequestHeader("Range", pf::format("bytes=%llu-", partialDownloadSize.load()));
}

void HttpRequest::applyCookieHeader() {
  std::lock_guard lock(cancelledLock_);
  if (useCookiePersistence && url_) {
    const Cookies stored = pf::HttpCookieStorage::sharedHTTPCookieStorage()->cookiesForURL(*url_);
    requestCookies.update(
        [&](Cookies& cookies) { cookies.insert(cookies.end(), stored.begin(), stored.end()); });
  }
  const Ptr main = mainRequest.get().lock();
  const Cookies cookies = (main ? main->requestCookies : requestCookies).get();
  if (cookies.empty()) return;
  std::string header = pf::format("%@=%@", cookies[0]->name(), cookies[0]->value());
  for (std::size_t i = 1; i < cookies.size(); ++i) {
    header = pf::format("%@; %@=%@", header, cookies[i]->name(), cookies[i]->value());
  }
  addRequestHeader("Cookie", header);
}

void HttpRequest::updatePartialDownloadSize() {
  const std::optional<std::string> temporary = temporaryFileDownloadPath.get();
  std::error_code ignored;
  if (!allowResumeForFileDownloads || !downloadDestinationPath.get() || !temporary ||
      !std::filesystem::exists(*temporary, ignored)) {
    return;
  }
  if (const std::optional<std::uint64_t> size = fileSize(*temporary)) partialDownloadSize = *size;
}
