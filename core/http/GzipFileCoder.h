#pragma once
// The file-to-file loop both gzip coders share: the source is read in chunks and each coded chunk is
// written out as it comes, so a file of any size costs one chunk of memory. Failures are code-11 errors
// whose texts begin with the coder's verb ("Compression", "Decompression").

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/http/GzipStream.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

class GzipFileCoder {
 public:
  // Codes one chunk; last is set for the final call, which may come with no bytes when the file ends
  // on a chunk boundary. nullopt with the error set fails the loop; nullopt alone writes nothing.
  using ChunkCoder = std::function<std::optional<pf::Data>(const std::uint8_t* bytes, std::size_t length,
                                                           bool last, pf::ErrorPtr* error)>;

  // The loop with the coder's stream set up before and ended after; a failure of either fails it.
  static bool codeFile(GzipStream& stream, const std::string& verb, const std::string& sourcePath,
                       const std::string& destinationPath, std::size_t chunkSize, const ChunkCoder& coder,
                       pf::ErrorPtr* error);
  static pf::ErrorPtr error(const std::string& description);

 private:
  static bool codeChunks(const std::string& verb, const std::string& sourcePath,
                         const std::string& destinationPath, std::size_t chunkSize, const ChunkCoder& coder,
                         pf::ErrorPtr* error);
};
