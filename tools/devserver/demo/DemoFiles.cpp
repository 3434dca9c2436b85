#include "tools/devserver/demo/DemoFiles.h"

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>

#include "tools/devserver/MultipartForm.h"

namespace devserver {

namespace {

constexpr char kUploadPrefix[] = "/upload/";
constexpr char kFilesPrefix[] = "/files/";

class FileStore {
 public:
  // The new file's id: 32 upper-case hexadecimal characters.
  std::string add(MultipartPart part) {
    std::lock_guard lock(mutex_);
    char id[33];
    std::snprintf(id, sizeof id, "%032llX", ++issued_);
    files_.emplace(id, std::move(part));
    return id;
  }
  std::optional<MultipartPart> find(const std::string& id) const {
    std::lock_guard lock(mutex_);
    const auto it = files_.find(id);
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }

 private:
  mutable std::mutex mutex_;
  unsigned long long issued_ = 0;
  std::map<std::string, MultipartPart> files_;
};

void upload(Exchange& exchange, const OpenServer& server, FileStore& store) {
  const Headers json{{"Content-Type", "application/json;charset=UTF-8"}};
  if (exchange.request().method != "POST") return exchange.respond(405, "POST a multipart form\n");
  const std::optional<std::vector<MultipartPart>> parts = MultipartForm::parse(exchange.request());
  if (!parts) return exchange.respond(400, "not a multipart form\n");
  if (parts->size() != 1 || parts->front().name != "file" || !parts->front().fileName) {
    return exchange.respond(400, "expected exactly one file part named \"file\"\n");
  }
  const MultipartPart& part = parts->front();
  const std::string contentType = part.contentType.value_or("application/octet-stream");
  const std::string fileName = *part.fileName;
  const std::size_t size = part.body.size();
  const std::string id = store.add(part);
  const std::string address = server.url(kFilesPrefix + id);
  const nlohmann::json answer = {
      {"fsId", "demo"},
      {"storedFileId", id},
      {"storedFileName", fileName},
      {"fileSize", std::to_string(size)},
      {"contentType", contentType},
      {"signedUrl", address},
      {"signedDownloadUrl", address},
      {"processResultStatus", "DONE"},
      {"processResultMessage", "stored"},
      {"secured", "false"},
      {"async", "false"},
      {"system", exchange.request().path == std::string(kUploadPrefix) + "system" ? "true" : "false"},
      {"responseFormat", "json"},
      {"uploadProcessorName", "demo"},
  };
  exchange.respond(200, answer.dump(), json);
}

void serveFile(Exchange& exchange, const FileStore& store) {
  const std::string id = exchange.request().path.substr(std::string(kFilesPrefix).size());
  const std::optional<MultipartPart> file = store.find(id);
  if (!file) return exchange.respond(404, "no such file\n");
  exchange.respond(200, file->body,
                   {{"Content-Type", file->contentType.value_or("application/octet-stream")}});
}

}  // namespace

void installDemoFiles(OpenServer& server, const std::string& dataFolder) {
  (void)dataFolder;  // the store starts empty
  auto store = std::make_shared<FileStore>();
  const auto address = [&server](const std::string& kind) {
    return [&server, kind](const OpenCall&) { return OpenAnswer::string(server.url(kUploadPrefix + kind)); };
  };
  server.method("/v1/sf/file/getImgUploadUrl", address("image"));
  server.method("/v1/sf/file/getSystemUploadUrl", address("system"));
  server.method("/v1/sf/file/getNormalUploadUrl", address("normal"));
  server.route("/upload/*", [&server, store](Exchange& exchange) { upload(exchange, server, *store); });
  server.route("/files/*", [store](Exchange& exchange) { serveFile(exchange, *store); });
}

}  // namespace devserver
