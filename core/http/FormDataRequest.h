#pragma once
// A POST whose body is a form: named text fields, files and in-memory data. Fields alone go out
// URL-encoded; as soon as a file part is present the body becomes "multipart/form-data" and is
// streamed through a temporary body file, so large files are copied in chunks and never held in memory.
//
// Part names, file names and part types are written so that they cannot break out of their header
// line or their quotes; field names and values of the URL-encoded form are percent-encoded.
//
// Thread rules: the fields and file parts are kept under the request's cancelledLock(), like the rest
// of what the request sends; set them up before starting it.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/http/HttpRequest.h"

class FormDataRequest : public HttpRequest {
 public:
  using Ptr = std::shared_ptr<FormDataRequest>;

  enum class PostFormat { MultipartFormData = 0, URLEncoded = 1 };

  struct PostField {
    std::string key;
    std::string value;
  };
  struct FilePart {
    std::string key;
    std::string fileName;
    std::string contentType;
    // A path: the file is read when the body is built. Data: sent as it is.
    std::variant<std::string, pf::Data> data;
  };

  // Gives the text of the UUID that makes each multipart boundary unique.
  using UuidSource = std::function<std::string()>;

  // URL-encoded, UTF-8, method "POST".
  explicit FormDataRequest(std::optional<pf::Url> url);
  static Ptr requestWithURL(std::optional<pf::Url> url);
  // Also copies the fields, file parts, format and encoding.
  HttpRequest::Ptr copy() const override;

  // The value's description text; nothing for a nil key or a nil value.
  void addPostValue(const pf::Value& value, const std::optional<std::string>& forKey);
  // Replaces every field of the key.
  void setPostValue(const pf::Value& value, const std::optional<std::string>& forKey);

  // A missing path or a directory fails the request with code 6 (the part is still added). The name
  // defaults to the path's last component, the type to the one the engine derives from the file.
  void addFile(const std::string& filePath, const std::string& forKey);
  void addFile(const std::string& filePath, const std::optional<std::string>& withFileName,
               const std::optional<std::string>& andContentType, const std::string& forKey);
  // Replace every file part of the key.
  void setFile(const std::string& filePath, const std::string& forKey);
  void setFile(const std::string& filePath, const std::optional<std::string>& withFileName,
               const std::optional<std::string>& andContentType, const std::string& forKey);

  // File name "file"; a missing type is "application/octet-stream".
  void addData(const pf::Data& data, const std::string& forKey);
  void addData(const pf::Data& data, const std::optional<std::string>& withFileName,
               const std::optional<std::string>& andContentType, const std::string& forKey);
  void setData(const pf::Data& data, const std::string& forKey);
  void setData(const pf::Data& data, const std::optional<std::string>& withFileName,
               const std::optional<std::string>& andContentType, const std::string& forKey);

  std::vector<PostField> postData() const;
  std::vector<FilePart> fileData() const;
  PostFormat postFormat() const;
  void setPostFormat(PostFormat format);
  pf::StringEncoding stringEncoding() const;
  void setStringEncoding(pf::StringEncoding encoding);
  // Tests fix the boundary with this; by default every body gets a new random UUID.
  void setUuidSource(UuidSource source);

  // Once per request: the form body, then the base building (length, "Content-Length").
  void buildPostBody() override;

  // Percent-encoded in the request's encoding, keeping only letters, digits, "-", "." and "_";
  // empty when the text cannot be encoded.
  std::string encodeURL(const std::string& string) const;
  // Appends the text in the request's encoding; a text it cannot encode fails the request (code 6).
  void appendPostString(const std::string& string);

 protected:
  HttpRequest::Ptr makeRequestOfSameClass(const std::optional<pf::Url>& url) const override;

 private:
  void buildMultipartFormDataPostBody();
  void buildURLEncodedPostBody();
  void appendFilePart(const FilePart& part);
  void removeFileParts(const std::string& key);

  std::vector<PostField> postData_;
  std::vector<FilePart> fileData_;
  PostFormat postFormat_ = PostFormat::URLEncoded;
  pf::StringEncoding stringEncoding_ = pf::StringEncoding::UTF8;
  UuidSource uuidSource_;
  // The form has gone into the body; a second build must not append it again.
  bool didBuildForm_ = false;
};
