#include "core/http/GzipStream.h"

#include <zlib.h>

GzipStream::GzipStream(Direction direction, ErrorWithCode errorWithCode)
    : direction_(direction), errorWithCode_(errorWithCode), z_(std::make_unique<z_stream>()) {}

GzipStream::~GzipStream() {
  close();
}

pf::ErrorPtr GzipStream::setup() {
  if (ready_) return nullptr;
  *z_ = z_stream{};
  // 31: a gzip header and trailer; 47: a zlib or a gzip header, told apart by its first bytes.
  const int rc = direction_ == Direction::Deflate
                     ? deflateInit2(z_.get(), Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY)
                     : inflateInit2(z_.get(), 47);
  if (rc != Z_OK) return errorWithCode_(rc);
  ready_ = true;
  return nullptr;
}

pf::ErrorPtr GzipStream::close() {
  if (!ready_) return nullptr;
  ready_ = false;
  const int rc = direction_ == Direction::Deflate ? deflateEnd(z_.get()) : inflateEnd(z_.get());
  return rc == Z_OK ? nullptr : errorWithCode_(rc);
}
