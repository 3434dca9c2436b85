#include "core/http/FormDataRequest.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <filesystem>

#include "platform/foundation/FilePath.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Uuid.h"
#include "platform/net/HttpMessage.h"

namespace {

constexpr char kOctetStream[] = "application/octet-stream";
constexpr char kBoundaryPrefix[] = "0xKhTmLbOuNdArY-";

pf::ErrorPtr buildingError(const std::string& description) {
  return pf::Error::make(NetworkRequestErrorDomain,
                         static_cast<long>(HttpRequestErrorCode::InternalErrorWhileBuildingRequest),
                         description);
}

// The UTF-8 text in another encoding; nullopt when a character has no form there.
std::optional<pf::Data> encodeText(const std::string& text, pf::StringEncoding encoding) {
  if (encoding == pf::StringEncoding::UTF8) return pf::Data(text.begin(), text.end());
  iconv_t opened = iconv_open(pf::ianaCharsetNameOfStringEncoding(encoding).c_str(), "UTF-8");
  if (opened == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  const std::unique_ptr<void, int (*)(iconv_t)> converter(opened, iconv_close);
  std::string input = text;
  char* in = input.data();
  std::size_t inLeft = input.size();
  pf::Data out(input.size() * 2 + 16);
  std::size_t used = 0;
  for (bool flushing = false;;) {
    char* outAt = reinterpret_cast<char*>(out.data()) + used;
    std::size_t outLeft = out.size() - used;
    // The second pass ends any shift state a stateful encoding is left in.
    const std::size_t result = flushing ? iconv(opened, nullptr, nullptr, &outAt, &outLeft)
                                        : iconv(opened, &in, &inLeft, &outAt, &outLeft);
    used = out.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) {
      if (flushing) break;
      flushing = true;
    } else if (errno == E2BIG) {
      out.resize(out.size() * 2);
    } else {
      return std::nullopt;
    }
  }
  out.resize(used);
  return out;
}

// Text inside the quotes of a part header: quotes and line breaks are escaped as browsers escape
// them, so a name can neither end its quotes nor start a header line of its own.
std::string quotedHeaderText(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '"') {
      out += "%22";
    } else if (c == '\r') {
      out += "%0D";
    } else if (c == '\n') {
      out += "%0A";
    } else {
      out += c;
    }
  }
  return out;
}

std::string partContentType(const std::optional<std::string>& contentType) {
  if (!contentType) return kOctetStream;
  if (pf::HttpMessage::isValidFieldValue(*contentType)) return *contentType;
  pf::logf("Refusing part content type %@: it may not break the line", *contentType);
  return kOctetStream;
}

}  // namespace

FormDataRequest::FormDataRequest(std::optional<pf::Url> url) : HttpRequest(std::move(url)) {
  setRequestMethod("POST");
}

FormDataRequest::Ptr FormDataRequest::requestWithURL(std::optional<pf::Url> url) {
  return std::make_shared<FormDataRequest>(std::move(url));
}

HttpRequest::Ptr FormDataRequest::makeRequestOfSameClass(const std::optional<pf::Url>& url) const {
  return std::make_shared<FormDataRequest>(url);
}

HttpRequest::Ptr FormDataRequest::copy() const {
  const auto form = std::static_pointer_cast<FormDataRequest>(HttpRequest::copy());
  std::lock_guard lock(cancelledLock());
  form->postData_ = postData_;
  form->fileData_ = fileData_;
  form->postFormat_ = postFormat_;
  form->stringEncoding_ = stringEncoding_;
  form->uuidSource_ = uuidSource_;
  if (didBuildForm_) {
    // The body built here may live in a temporary file this request deletes: the copy builds its own.
    form->postBody.set(std::nullopt);
    form->postBodyFilePath.set(std::nullopt);
    form->postLength = 0;
    form->haveBuiltPostBody = false;
  }
  return form;
}

void FormDataRequest::addPostValue(const pf::Value& value, const std::optional<std::string>& forKey) {
  if (!forKey || value.isNil()) return;
  std::lock_guard lock(cancelledLock());
  postData_.push_back(PostField{*forKey, value.description()});
}

void FormDataRequest::setPostValue(const pf::Value& value, const std::optional<std::string>& forKey) {
  std::lock_guard lock(cancelledLock());
  if (forKey) std::erase_if(postData_, [&](const PostField& field) { return field.key == *forKey; });
  addPostValue(value, forKey);
}

void FormDataRequest::addFile(const std::string& filePath, const std::string& forKey) {
  addFile(filePath, std::nullopt, std::nullopt, forKey);
}

void FormDataRequest::addFile(const std::string& filePath, const std::optional<std::string>& withFileName,
                              const std::optional<std::string>& andContentType, const std::string& forKey) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(filePath, ignored))
    failWithError(buildingError(pf::format("No file exists at %@", filePath)));
  const std::string fileName = withFileName.value_or(pf::path::lastPathComponent(filePath));
  const std::optional<std::string> contentType =
      andContentType ? andContentType : mimeTypeForFileAtPath(filePath);
  std::lock_guard lock(cancelledLock());
  fileData_.push_back(FilePart{forKey, fileName, partContentType(contentType), filePath});
}

void FormDataRequest::setFile(const std::string& filePath, const std::string& forKey) {
  setFile(filePath, std::nullopt, std::nullopt, forKey);
}

void FormDataRequest::setFile(const std::string& filePath, const std::optional<std::string>& withFileName,
                              const std::optional<std::string>& andContentType, const std::string& forKey) {
  std::lock_guard lock(cancelledLock());
  removeFileParts(forKey);
  addFile(filePath, withFileName, andContentType, forKey);
}

void FormDataRequest::addData(const pf::Data& data, const std::string& forKey) {
  addData(data, std::nullopt, std::nullopt, forKey);
}

void FormDataRequest::addData(const pf::Data& data, const std::optional<std::string>& withFileName,
                              const std::optional<std::string>& andContentType, const std::string& forKey) {
  std::lock_guard lock(cancelledLock());
  fileData_.push_back(FilePart{forKey, withFileName.value_or("file"), partContentType(andContentType), data});
}

void FormDataRequest::setData(const pf::Data& data, const std::string& forKey) {
  setData(data, std::nullopt, std::nullopt, forKey);
}

void FormDataRequest::setData(const pf::Data& data, const std::optional<std::string>& withFileName,
                              const std::optional<std::string>& andContentType, const std::string& forKey) {
  std::lock_guard lock(cancelledLock());
  removeFileParts(forKey);
  addData(data, withFileName, andContentType, forKey);
}

void FormDataRequest::removeFileParts(const std::string& key) {
  std::erase_if(fileData_, [&](const FilePart& part) { return part.key == key; });
}

std::vector<FormDataRequest::PostField> FormDataRequest::postData() const {
  std::lock_guard lock(cancelledLock());
  return postData_;
}

std::vector<FormDataRequest::FilePart> FormDataRequest::fileData() const {
  std::lock_guard lock(cancelledLock());
  return fileData_;
}

FormDataRequest::PostFormat FormDataRequest::postFormat() const {
  std::lock_guard lock(cancelledLock());
  return postFormat_;
}

void FormDataRequest::setPostFormat(PostFormat format) {
  std::lock_guard lock(cancelledLock());
  postFormat_ = format;
}

pf::StringEncoding FormDataRequest::stringEncoding() const {
  std::lock_guard lock(cancelledLock());
  return stringEncoding_;
}

void FormDataRequest::setStringEncoding(pf::StringEncoding encoding) {
  std::lock_guard lock(cancelledLock());
  stringEncoding_ = encoding;
}

void FormDataRequest::setUuidSource(UuidSource source) {
  std::lock_guard lock(cancelledLock());
  uuidSource_ = std::move(source);
}

void FormDataRequest::buildPostBody() {
  std::lock_guard lock(cancelledLock());
  if (haveBuiltPostBody) return;
  if (!didBuildForm_ && (!postData_.empty() || !fileData_.empty())) {
    didBuildForm_ = true;
    if (!fileData_.empty()) {
      shouldStreamPostDataFromDisk = true;
      postFormat_ = PostFormat::MultipartFormData;
    }
    if (postFormat_ == PostFormat::URLEncoded) {
      buildURLEncodedPostBody();
    } else {
      buildMultipartFormDataPostBody();
    }
  }
  HttpRequest::buildPostBody();
}

void FormDataRequest::buildMultipartFormDataPostBody() {
  const std::string boundary = kBoundaryPrefix + (uuidSource_ ? uuidSource_() : pf::Uuid::random().text());
  addRequestHeader("Content-Type",
                   pf::format("multipart/form-data; charset=%@; boundary=%@",
                              pf::ianaCharsetNameOfStringEncoding(stringEncoding_), boundary));
  const std::string separator = pf::format("\r\n--%@\r\n", boundary);
  appendPostString(pf::format("--%@\r\n", boundary));
  for (std::size_t i = 0; i < postData_.size(); ++i) {
    appendPostString("Content-Disposition: form-data; name=\"" + quotedHeaderText(postData_[i].key) +
                     "\"\r\n\r\n");
    appendPostString(postData_[i].value);
    if (i + 1 < postData_.size() || !fileData_.empty()) appendPostString(separator);
  }
  for (std::size_t i = 0; i < fileData_.size(); ++i) {
    appendFilePart(fileData_[i]);
    if (i + 1 < fileData_.size()) appendPostString(separator);
  }
  appendPostString(pf::format("\r\n--%@--\r\n", boundary));
}

void FormDataRequest::appendFilePart(const FilePart& part) {
  appendPostString("Content-Disposition: form-data; name=\"" + quotedHeaderText(part.key) +
                   "\"; filename=\"" + quotedHeaderText(part.fileName) + "\"\r\n");
  appendPostString("Content-Type: " + part.contentType + "\r\n\r\n");
  if (const auto* path = std::get_if<std::string>(&part.data)) {
    appendPostDataFromFile(*path);
  } else {
    appendPostData(std::get<pf::Data>(part.data));
  }
}

void FormDataRequest::buildURLEncodedPostBody() {
  addRequestHeader("Content-Type", "application/x-www-form-urlencoded; charset=" +
                                       pf::ianaCharsetNameOfStringEncoding(stringEncoding_));
  std::string body;
  for (std::size_t i = 0; i < postData_.size(); ++i) {
    const PostField& field = postData_[i];
    const std::string key = encodeURL(field.key);
    const std::string value = encodeURL(field.value);
    // An empty encoding of a non-empty text is a field the server would get wrong: fail instead.
    if ((key.empty() && !field.key.empty()) || (value.empty() && !field.value.empty())) {
      failWithError(buildingError(pf::format("Unable to encode form field %@ as %@", field.key,
                                             pf::ianaCharsetNameOfStringEncoding(stringEncoding_))));
      return;
    }
    body += key + "=" + value + (i + 1 < postData_.size() ? "&" : "");
  }
  appendPostString(body);
}

std::string FormDataRequest::encodeURL(const std::string& string) const {
  const std::optional<pf::Data> bytes = encodeText(string, stringEncoding());
  if (!bytes) return {};
  return pf::Url::percentEncode(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                                "-._");
}

void FormDataRequest::appendPostString(const std::string& string) {
  const pf::StringEncoding encoding = stringEncoding();
  const std::optional<pf::Data> bytes = encodeText(string, encoding);
  if (!bytes) {
    failWithError(buildingError(
        pf::format("Unable to encode form text as %@", pf::ianaCharsetNameOfStringEncoding(encoding))));
    return;
  }
  appendPostData(*bytes);
}
