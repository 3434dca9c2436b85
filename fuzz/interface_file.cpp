// Interface files read into their elements from any bytes: malformed XML is a contract violation
// naming the file, anything else a tree whose every element has a name and whose attributes are as
// written, entity references unexpanded, so no value grows beyond the file that holds it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/foundation/Error.h"
#include "platform/ui/NibDocument.h"

namespace {

constexpr char kInterfaceFilePath[] = "fuzz.nib";

void interfaceFileCheck(const pf::NibNode& node, std::size_t fileSize) {
  if (node.name.empty() || node.line < 0) {
    std::fprintf(stderr, "element without a name or with line %d\n", node.line);
    std::abort();
  }
  for (const auto& [name, value] : node.attributes) {
    if (name.empty() || value.size() > fileSize) {
      std::fprintf(stderr, "attribute \"%s\" of %zu bytes in a file of %zu\n", name.c_str(), value.size(),
                   fileSize);
      std::abort();
    }
  }
  for (const auto& child : node.children) interfaceFileCheck(child, fileSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    interfaceFileCheck(*pf::NibDocument::read(bytes, kInterfaceFilePath), size);
  } catch (const pf::ContractViolation& violation) {
    if (std::string_view(violation.what()).substr(0, sizeof kInterfaceFilePath - 1) != kInterfaceFilePath) {
      std::fprintf(stderr, "an error not naming the file: %s\n", violation.what());
      std::abort();
    }
  }
  return 0;
}
