#pragma once
// Ready-made handlers for the answers tests ask for most.

#include <cstddef>
#include <string>
#include <vector>

#include "tools/devserver/Exchange.h"

namespace devserver::answers {

// The data gzip-compressed.
std::string gzip(const std::string& data);

Handler text(int status, std::string body, Headers headers = {{"Content-Type", "text/plain"}});
// The body gzip-compressed, with "Content-Encoding: gzip".
Handler gzipped(std::string body);
Handler chunked(std::vector<std::string> chunks);
// The content, or from the offset of a "Range: bytes=N-" request on (206 with "Content-Range"; 416 when
// the offset lies beyond the end).
Handler ranged(std::string content);
Handler redirect(int status, std::string location);
// Each entry becomes one "Set-Cookie" field.
Handler setCookies(std::vector<std::string> cookies, std::string body = "");
// 401 with a Basic challenge unless the request carries these credentials.
Handler basicChallenge(std::string realm, std::string user, std::string password, std::string body);
// The head with the full "Content-Length" at once, then the pieces with a pause before each.
Handler slow(std::vector<std::string> pieces, double delay);
// Reads the request and answers nothing for that long, then closes.
Handler stall(double seconds);
// Announces the whole body (with the headers given), sends its first `sent` bytes and resets the
// connection.
Handler resetMidBody(std::string body, std::size_t sent, Headers headers = {});
// Announces the whole body, sends its first `sent` bytes, then sends nothing for that long (or until
// the server stops) and resets the connection.
Handler stallMidBody(std::string body, std::size_t sent, double seconds);
// The body gzip-compressed with "Content-Encoding: gzip", but only the first half of the compressed
// bytes, announced as the whole answer: the HTTP exchange completes, the gzip stream does not.
Handler truncatedGzip(std::string body);
// These bytes and nothing else, then the connection closes.
Handler raw(std::string bytes);
// The regular files below root, by request path; anything leading out of root answers 404.
Handler directory(std::string root);

}  // namespace devserver::answers
