#include "tools/devserver/Answers.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace devserver::answers {

std::string gzip(const std::string& data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2 failed");
  }
  std::string out(deflateBound(&stream, data.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
  return out;
}

namespace {

std::string base64(const std::string& text) {
  std::string out(4 * ((text.size() + 2) / 3) + 1, '\0');
  const int length =
      EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                      reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::optional<std::string> readFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace

Handler text(int status, std::string body, Headers headers) {
  return [=](Exchange& exchange) { exchange.respond(status, body, headers); };
}

Handler gzipped(std::string body) {
  const std::string compressed = gzip(body);
  return [compressed](Exchange& exchange) {
    exchange.respond(200, compressed, {{"Content-Type", "text/plain"}, {"Content-Encoding", "gzip"}});
  };
}

Handler chunked(std::vector<std::string> chunks) {
  return [chunks](Exchange& exchange) {
    exchange.respondChunked(200, chunks, {{"Content-Type", "text/plain"}});
  };
}

Handler ranged(std::string content) {
  return [content](Exchange& exchange) {
    const std::optional<std::string> range = exchange.request().header("Range");
    if (!range || !range->starts_with("bytes=")) return exchange.respond(200, content);
    const std::size_t from = std::stoull(range->substr(6));
    const std::string total = std::to_string(content.size());
    if (from >= content.size()) return exchange.respond(416, "", {{"Content-Range", "bytes */" + total}});
    exchange.respond(206, content.substr(from),
                     {{"Content-Range", "bytes " + std::to_string(from) + "-" +
                                            std::to_string(content.size() - 1) + "/" + total}});
  };
}

Handler redirect(int status, std::string location) {
  return [=](Exchange& exchange) { exchange.respond(status, "", {{"Location", location}}); };
}

Handler setCookies(std::vector<std::string> cookies, std::string body) {
  Headers headers;
  for (const std::string& cookie : cookies) headers.emplace_back("Set-Cookie", cookie);
  return [headers, body](Exchange& exchange) { exchange.respond(200, body, headers); };
}

Handler basicChallenge(std::string realm, std::string user, std::string password, std::string body) {
  const std::string expected = "Basic " + base64(user + ":" + password);
  return [=](Exchange& exchange) {
    if (exchange.request().header("Authorization") == expected) return exchange.respond(200, body);
    exchange.respond(401, "authentication needed\n", {{"WWW-Authenticate", "Basic realm=\"" + realm + "\""}});
  };
}

Handler slow(std::vector<std::string> pieces, double delay) {
  return [=](Exchange& exchange) {
    std::size_t total = 0;
    for (const std::string& piece : pieces) total += piece.size();
    exchange.sendHead(200, {{"Content-Length", std::to_string(total)}});
    for (const std::string& piece : pieces) {
      if (!exchange.pause(delay)) return exchange.closeConnection();
      exchange.write(piece);
    }
  };
}

Handler stall(double seconds) {
  return [seconds](Exchange& exchange) {
    exchange.pause(seconds);
    exchange.reset();
  };
}

Handler resetMidBody(std::string body, std::size_t sent, Headers headers) {
  headers.emplace_back("Content-Length", std::to_string(body.size()));
  return [=](Exchange& exchange) {
    exchange.sendHead(200, headers);
    exchange.write(std::string_view(body).substr(0, sent));
    exchange.pause(0.05);  // lets the bytes leave before the reset overtakes them
    exchange.reset();
  };
}

Handler stallMidBody(std::string body, std::size_t sent, double seconds) {
  return [=](Exchange& exchange) {
    exchange.sendHead(200, {{"Content-Length", std::to_string(body.size())}});
    exchange.write(std::string_view(body).substr(0, sent));
    exchange.pause(seconds);
    exchange.reset();
  };
}

Handler truncatedGzip(std::string body) {
  std::string compressed = gzip(body);
  compressed.resize(compressed.size() / 2);
  return [compressed](Exchange& exchange) {
    exchange.respond(200, compressed,
                     {{"Content-Type", "application/json;charset=UTF-8"}, {"Content-Encoding", "gzip"}});
  };
}

Handler raw(std::string bytes) {
  return [bytes](Exchange& exchange) {
    exchange.write(bytes);
    exchange.closeConnection();
  };
}

Handler directory(std::string root) {
  return [root](Exchange& exchange) {
    const std::filesystem::path relative = std::filesystem::path(exchange.request().path).relative_path();
    bool inside = true;
    for (const auto& part : relative.lexically_normal()) inside = inside && part != "..";
    std::optional<std::string> content;
    if (inside && exchange.request().path.find('\0') == std::string::npos)
      content = readFile(std::filesystem::path(root) / relative);
    if (!content) return exchange.respond(404, "not found\n");
    exchange.respond(200, *content, {{"Content-Type", "application/octet-stream"}});
  };
}

}  // namespace devserver::answers
