#include "core/util/FileTool.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kBytesPerMiB = 1048576;

bool isSafeName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

// Whether anything, a dangling link included, is at the path.
bool anythingAt(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(fs::symlink_status(path, ec));
}

std::string ensureDir(const std::string& path) {
  if (!FileTool::dirExistAtPath(path)) FileTool::createDirAtPath(path);
  return path;
}

std::string cachesDir(const std::string& name) {
  return ensureDir(pf::path::appendingPathComponent(FileTool::getCachesPath(), name));
}

// Every path below dir relative to it, sorted so that a folder comes before its contents.
std::optional<std::vector<std::string>> deepListing(const std::string& dir) {
  if (!FileTool::dirExistAtPath(dir)) return std::nullopt;
  std::error_code ec;
  fs::recursive_directory_iterator it(dir, ec);
  std::vector<std::string> relative;
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    relative.push_back(it->path().lexically_relative(dir).generic_string());
  }
  if (ec) return std::nullopt;
  std::sort(relative.begin(), relative.end());
  return relative;
}

// The full paths of the deep listing's items that pass the test.
template <typename Test>
std::optional<std::vector<std::string>> deepPaths(const std::string& dir, Test test) {
  std::optional<std::vector<std::string>> listing = deepListing(dir);
  if (!listing) return std::nullopt;
  std::vector<std::string> paths;
  for (const std::string& relative : *listing) {
    std::string full = pf::path::appendingPathComponent(dir, relative);
    if (test(full)) paths.push_back(std::move(full));
  }
  return paths;
}

}  // namespace

std::string FileTool::getDocumentPath() {
  return pf::Sandbox::documentsPath();
}

std::string FileTool::getCachesPath() {
  return pf::Sandbox::cachesPath();
}

std::string FileTool::getTempPath() {
  return pf::Sandbox::temporaryPath();
}

std::optional<std::string> FileTool::pathInDir(const std::string& dir, const std::string& name) {
  if (!isSafeName(name)) return std::nullopt;
  return pf::path::appendingPathComponent(dir, name);
}

std::optional<std::string> FileTool::getLocalFilePath(const std::string& name) {
  return pathInDir(getCachesPath(), name);
}

std::optional<std::string> FileTool::getCachesFilePath(const std::string& name) {
  return getLocalFilePath(name);
}

std::optional<std::string> FileTool::getResourcePath(const std::string& name) {
  return pathInDir(pf::Bundle::mainBundle()->bundlePath(), name);
}

std::optional<std::string> FileTool::getResourceFilePath(const std::string& name) {
  size_t dot = name.find('.');
  if (!isSafeName(name) || dot == 0 || dot == std::string::npos) return std::nullopt;
  size_t typeEnd = name.find('.', dot + 1);
  std::string type =
      name.substr(dot + 1, typeEnd == std::string::npos ? std::string::npos : typeEnd - dot - 1);
  return pf::Bundle::mainBundle()->pathForResource(name.substr(0, dot), type);
}

std::string FileTool::getCourseResourcePath() {
  return cachesDir("Course");
}

std::string FileTool::getMicroBlogResourcePath() {
  return cachesDir("MicroBlog");
}

std::string FileTool::getQAResourcePath() {
  return cachesDir("QuestionAndAnswer");
}

std::string FileTool::getDownloadDir() {
  return cachesDir("Download");
}

std::string FileTool::getDownloadTmpDir() {
  return ensureDir(pf::path::appendingPathComponent(getDownloadDir(), "Temp"));
}

std::optional<std::string> FileTool::getResourcePathWithHeader(const std::string& header) {
  std::optional<std::string> path = getCachesFilePath(header);
  if (path) ensureDir(*path);
  return path;
}

bool FileTool::fileExistAtPath(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(path, ec);
}

bool FileTool::dirExistAtPath(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

bool FileTool::createDirAtPath(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(path, ec);
  return dirExistAtPath(path);
}

bool FileTool::createDirInThePath(const std::string& path, const std::string& dirName) {
  std::optional<std::string> dir = pathInDir(path, dirName);
  return !path.empty() && dir && createDirAtPath(*dir);
}

std::uint64_t FileTool::fileSizeAtPath(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

bool FileTool::deleteFile(const std::string& path) {
  if (!anythingAt(path)) return true;
  std::error_code ec;
  fs::remove_all(path, ec);
  return !ec;
}

bool FileTool::deleteDir(const std::string& path) {
  if (!dirExistAtPath(path)) return true;
  std::error_code ec;
  fs::remove_all(path, ec);
  return !ec;
}

bool FileTool::clearDir(const std::string& path) {
  if (!dirExistAtPath(path)) return true;
  // Each direct entry goes with everything below it, so nothing nested is left behind.
  std::error_code ec;
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(path, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    entries.push_back(it->path());
  }
  if (ec) return false;
  for (const fs::path& entry : entries) {
    fs::remove_all(entry, ec);
    if (ec) return false;
  }
  return true;
}

bool FileTool::copyFileFromPath(const std::string& fromPath, const std::string& toPath) {
  if (fromPath.empty() || toPath.empty() || !fileExistAtPath(fromPath) || anythingAt(toPath)) return false;
  std::error_code ec;
  fs::copy(fromPath, toPath, fs::copy_options::recursive, ec);
  return !ec;
}

std::optional<pf::Data> FileTool::readDataFromFile(const std::string& path) {
  if (!fileExistAtPath(path)) {
    pf::logf("%@ 不存在！", path);
    return std::nullopt;
  }
  if (dirExistAtPath(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  pf::Data data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return data;
}

std::vector<std::string> FileTool::getFileListFromDir(const std::string& path) {
  std::error_code ec;
  std::vector<std::string> names;
  for (fs::directory_iterator it(path, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  if (ec) {
    pf::logf("%@", ec.message());
    return {};
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::vector<std::string>> FileTool::getDirInThePath(const std::string& path) {
  return deepPaths(path, [](const std::string& full) { return dirExistAtPath(full); });
}

std::optional<std::vector<std::string>> FileTool::getFileInThePath(const std::string& path) {
  return deepPaths(path, [](const std::string&) { return true; });
}

std::optional<std::vector<std::string>> FileTool::getFilesInDir(const std::string& dir,
                                                                const std::string& fileName) {
  std::optional<std::vector<std::string>> found = deepPaths(dir, [&fileName](const std::string& full) {
    return pf::path::deletingPathExtension(pf::path::lastPathComponent(full)) == fileName;
  });
  if (!found || found->empty()) return std::nullopt;
  return found;
}

std::int64_t FileTool::freeSpace() {
  std::error_code ec;
  fs::space_info space = fs::space(getDocumentPath(), ec);
  if (ec) {
    pf::logf("Error Obtaining System Memory Info: Domain = %@, Code = %d", ec.category().name(), ec.value());
    return 0;
  }
  pf::logf("Memory Capacity of %llu MiB with %llu MiB Free memory available.", space.capacity / kBytesPerMiB,
           space.available / kBytesPerMiB);
  return static_cast<std::int64_t>(space.available);
}
