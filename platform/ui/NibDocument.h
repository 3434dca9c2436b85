#pragma once
// An interface file read into its elements, each with its line and its attributes as written: entity
// references stay "&name;" and are never expanded, so a small file cannot grow into huge values.
// Malformed XML is a ContractViolation naming the file and line. The loader (Nib) gives the elements
// their meaning.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pf {

// One element of the file with its line.
struct NibNode {
  std::string name;
  int line = 0;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<NibNode> children;

  const std::string* attribute(const std::string& key) const {
    for (auto& [k, v] : attributes) {
      if (k == key) return &v;
    }
    return nullptr;
  }
};

class NibDocument {
 public:
  static std::shared_ptr<const NibNode> readFile(const std::string& path);
  // `path` names the bytes in errors.
  static std::shared_ptr<const NibNode> read(std::string_view bytes, const std::string& path);
};

}  // namespace pf
