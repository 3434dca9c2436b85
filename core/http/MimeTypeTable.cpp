#include "core/http/MimeTypeTable.h"

#include "platform/foundation/TextHelpers.h"

std::optional<std::string> MimeTypeTable::mimeTypeForExtension(std::string_view extension) {
  static constexpr struct {
    const char* extension;
    const char* type;
  } kTypes[] = {
      {"txt", "text/plain"},
      {"html", "text/html"},
      {"htm", "text/html"},
      {"css", "text/css"},
      {"csv", "text/csv"},
      {"xml", "application/xml"},
      {"js", "application/javascript"},
      {"json", "application/json"},
      {"plist", "application/x-plist"},
      {"pdf", "application/pdf"},
      {"zip", "application/zip"},
      {"gz", "application/x-gzip"},
      {"doc", "application/msword"},
      {"docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
      {"xls", "application/vnd.ms-excel"},
      {"xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
      {"ppt", "application/vnd.ms-powerpoint"},
      {"pptx", "application/vnd.openxmlformats-officedocument.presentationml.presentation"},
      {"swf", "application/x-shockwave-flash"},
      {"jpg", "image/jpeg"},
      {"jpeg", "image/jpeg"},
      {"png", "image/png"},
      {"gif", "image/gif"},
      {"bmp", "image/bmp"},
      {"tif", "image/tiff"},
      {"tiff", "image/tiff"},
      {"svg", "image/svg+xml"},
      {"mp3", "audio/mpeg"},
      {"m4a", "audio/mp4"},
      {"wav", "audio/wav"},
      {"aac", "audio/aac"},
      {"mp4", "video/mp4"},
      {"m4v", "video/x-m4v"},
      {"mov", "video/quicktime"},
      {"3gp", "video/3gpp"},
      {"flv", "video/x-flv"},
  };
  for (const auto& entry : kTypes) {
    if (pf::text::equalsIgnoringCase(extension, entry.extension)) return entry.type;
  }
  return std::nullopt;
}
