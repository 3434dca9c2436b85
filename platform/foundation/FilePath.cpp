#include "platform/foundation/FilePath.h"

namespace pf::path {
namespace {

// The path without trailing "/", except that a path of only "/" characters is "/".
std::string_view withoutTrailingSlashes(std::string_view path) {
  std::size_t last = path.find_last_not_of('/');
  if (last == std::string_view::npos) return path.empty() ? path : "/";
  return path.substr(0, last + 1);
}

// Byte offset where the last component of a path without trailing "/" starts.
std::size_t lastComponentStart(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// Offset of the "." that starts the extension, or npos; a leading "." marks a hidden name instead.
std::size_t extensionDot(std::string_view path) {
  std::size_t dot = path.rfind('.');
  return dot != std::string_view::npos && dot > lastComponentStart(path) ? dot : std::string_view::npos;
}

}  // namespace

std::string lastPathComponent(std::string_view path) {
  std::string_view p = withoutTrailingSlashes(path);
  if (p == "/") return "/";
  return std::string(p.substr(lastComponentStart(p)));
}

std::string pathExtension(std::string_view path) {
  std::string_view p = withoutTrailingSlashes(path);
  std::size_t dot = extensionDot(p);
  return dot == std::string_view::npos ? std::string() : std::string(p.substr(dot + 1));
}

std::string deletingLastPathComponent(std::string_view path) {
  std::string_view p = withoutTrailingSlashes(path);
  if (p == "/") return "/";
  std::size_t slash = p.rfind('/');
  if (slash == std::string_view::npos) return "";
  return std::string(withoutTrailingSlashes(p.substr(0, slash + 1)));
}

std::string deletingPathExtension(std::string_view path) {
  std::string_view p = withoutTrailingSlashes(path);
  return std::string(p.substr(0, extensionDot(p)));
}

std::string appendingPathComponent(std::string_view path, std::string_view component) {
  std::string joined;
  for (char c : std::string(path) + "/" + std::string(component)) {
    if (c != '/' || joined.empty() || joined.back() != '/') joined += c;
  }
  if (path.empty() && !component.starts_with('/')) joined.erase(0, 1);
  return std::string(withoutTrailingSlashes(joined));
}

std::string appendingPathExtension(std::string_view path, std::string_view extension) {
  std::string_view p = withoutTrailingSlashes(path);
  if (p.empty() || p == "/" || extension.empty()) return std::string(p);
  return std::string(p) + "." + std::string(extension);
}

}  // namespace pf::path
