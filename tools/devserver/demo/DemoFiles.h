#pragma once
// The demo's file store: the upload address methods, the multipart upload endpoint they point to, and
// the stored files, kept in memory while the server runs.
//   "/v1/sf/file/getImgUploadUrl", "/v1/sf/file/getSystemUploadUrl", "/v1/sf/file/getNormalUploadUrl"
//       answer the address "http://127.0.0.1:<port>/upload/<kind>"
//   POST /upload/<kind>   one file part named "file"; answers the stored file's description
//   GET /files/<id>       the stored bytes

#include <string>

#include "tools/devserver/open/OpenServer.h"

namespace devserver {

void installDemoFiles(OpenServer& server, const std::string& dataFolder);

}  // namespace devserver
