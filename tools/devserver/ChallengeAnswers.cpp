#include "tools/devserver/ChallengeAnswers.h"

// MD4 is deprecated in OpenSSL 3, but NTLM is built on it.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/md4.h>
#include <openssl/md5.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

#include "tools/devserver/Relay.h"

namespace devserver::answers {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kNonce[] = "dcd98b7102dd2f0e8b11d0f600bfb0c093";
constexpr std::uint8_t kServerChallenge[8] = {1, 2, 3, 4, 5, 6, 7, 8};

std::string hex(const unsigned char* bytes, std::size_t length) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 15];
  }
  return out;
}

std::string md5Hex(const std::string& text) {
  unsigned char digest[MD5_DIGEST_LENGTH];
  EVP_Digest(text.data(), text.size(), digest, nullptr, EVP_md5(), nullptr);
  return hex(digest, sizeof digest);
}

std::string encode64(const Bytes& bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytes.data(),
                                     static_cast<int>(bytes.size()));
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::optional<Bytes> decode64(const std::string& text) {
  if (text.empty() || text.size() % 4 != 0) return std::nullopt;
  Bytes out(3 * text.size() / 4);
  const int length = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                     static_cast<int>(text.size()));
  if (length < 0) return std::nullopt;
  out.resize(static_cast<std::size_t>(length) - std::count(text.end() - 2, text.end(), '='));
  return out;
}

// name=value and name="value" pairs of a Digest answer.
std::map<std::string, std::string> digestParameters(const std::string& text) {
  std::map<std::string, std::string> parameters;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && (text[at] == ' ' || text[at] == ',')) ++at;
    const std::size_t equals = text.find('=', at);
    if (equals == std::string::npos) break;
    const std::string name = text.substr(at, equals - at);
    std::string value;
    at = equals + 1;
    if (at < text.size() && text[at] == '"') {
      const std::size_t close = text.find('"', at + 1);
      if (close == std::string::npos) break;
      value = text.substr(at + 1, close - at - 1);
      at = close + 1;
    } else {
      const std::size_t comma = text.find(',', at);
      value = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
      at = comma == std::string::npos ? text.size() : comma;
    }
    parameters[name] = value;
  }
  return parameters;
}

bool digestMatches(const Request& request, const std::string& realm, const std::string& user,
                   const std::string& password) {
  const std::optional<std::string> authorization = request.header("Authorization");
  if (!authorization || !authorization->starts_with("Digest ")) return false;
  auto p = digestParameters(authorization->substr(7));
  if (p["username"] != user || p["realm"] != realm || p["nonce"] != kNonce || p["uri"] != request.target) {
    return false;
  }
  const std::string ha1 = md5Hex(user + ":" + realm + ":" + password);
  const std::string ha2 = md5Hex(request.method + ":" + p["uri"]);
  return p["qop"] == "auth" && !p["nc"].empty() && !p["cnonce"].empty() &&
         p["response"] == md5Hex(ha1 + ":" + kNonce + ":" + p["nc"] + ":" + p["cnonce"] + ":auth:" + ha2);
}

std::uint16_t read16(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

void put16(Bytes& bytes, std::size_t at, std::size_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// The payload a security buffer (length, allocated, offset) of a message points at.
std::optional<Bytes> field(const Bytes& message, std::size_t at) {
  const std::size_t length = read16(message, at);
  const std::size_t offset = read16(message, at + 4) | std::size_t(read16(message, at + 6)) << 16;
  if (offset > message.size() || message.size() - offset < length) return std::nullopt;
  return Bytes(message.begin() + static_cast<long>(offset),
               message.begin() + static_cast<long>(offset + length));
}

// ASCII text as UTF-16LE, and back; the tests' names are ASCII.
Bytes utf16(const std::string& text) {
  Bytes out;
  for (char c : text) {
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(0);
  }
  return out;
}

std::string ascii(const Bytes& utf16le) {
  std::string out;
  for (std::size_t i = 0; i + 1 < utf16le.size(); i += 2) out += static_cast<char>(utf16le[i]);
  return out;
}

Bytes hmacMd5(const Bytes& key, const Bytes& data) {
  Bytes out(16);
  unsigned int length = 0;
  HMAC(EVP_md5(), key.data(), static_cast<int>(key.size()), data.data(), data.size(), out.data(), &length);
  return out;
}

Bytes challengeMessage() {
  // Target info: the domain name pair, then the end of the list.
  Bytes info = {2, 0, 8, 0};
  const Bytes name = utf16("CORP");
  info.insert(info.end(), name.begin(), name.end());
  info.insert(info.end(), {0, 0, 0, 0});
  Bytes message(48, 0);
  const std::string signature("NTLMSSP", 8);
  std::copy(signature.begin(), signature.end(), message.begin());
  message[8] = 2;
  // Unicode, NTLM, extended session security, target info.
  const std::uint32_t flags = 0x00000001 | 0x00000200 | 0x00080000 | 0x00800000;
  for (int i = 0; i < 4; ++i) message[20 + i] = static_cast<std::uint8_t>(flags >> (8 * i));
  std::copy(std::begin(kServerChallenge), std::end(kServerChallenge), message.begin() + 24);
  put16(message, 40, info.size());
  put16(message, 42, info.size());
  put16(message, 44, message.size());
  message.insert(message.end(), info.begin(), info.end());
  return message;
}

// Checks an NTLMv2 authenticate message against the credentials.
bool authenticateMatches(const Bytes& message, const std::string& user, const std::string& password,
                         const std::string& domain) {
  if (message.size() < 64 || message[8] != 3) return false;
  const auto ntResponse = field(message, 20), sentDomain = field(message, 28), sentUser = field(message, 36);
  if (!ntResponse || !sentDomain || !sentUser || ntResponse->size() <= 16) return false;
  if (ascii(*sentUser) != user || ascii(*sentDomain) != domain) return false;
  const Bytes passwordText = utf16(password);
  Bytes ntHash(16);
  MD4(passwordText.data(), passwordText.size(), ntHash.data());
  std::string upperUser = user;
  std::transform(upperUser.begin(), upperUser.end(), upperUser.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const Bytes key = hmacMd5(ntHash, utf16(upperUser + domain));
  Bytes proofInput(std::begin(kServerChallenge), std::end(kServerChallenge));
  proofInput.insert(proofInput.end(), ntResponse->begin() + 16, ntResponse->end());
  return hmacMd5(key, proofInput) == Bytes(ntResponse->begin(), ntResponse->begin() + 16);
}

}  // namespace

Handler digestChallenge(std::string realm, std::string user, std::string password, std::string body) {
  return [=](Exchange& exchange) {
    if (digestMatches(exchange.request(), realm, user, password)) return exchange.respond(200, body);
    exchange.respond(401, "digest needed\n",
                     {{"WWW-Authenticate", "Digest realm=\"" + realm + "\", qop=\"auth\", nonce=\"" + kNonce +
                                               "\", opaque=\"5ccc069c403ebaf9f0171e9517f40e41\""}});
  };
}

Handler ntlmChallenge(std::string user, std::string password, std::string domain, std::string body) {
  return [=](Exchange& exchange) {
    const std::optional<std::string> authorization = exchange.request().header("Authorization");
    std::optional<Bytes> message;
    if (authorization && authorization->starts_with("NTLM ")) message = decode64(authorization->substr(5));
    if (message && message->size() > 8 && (*message)[8] == 1) {
      return exchange.respond(401, "", {{"WWW-Authenticate", "NTLM " + encode64(challengeMessage())}});
    }
    if (message && authenticateMatches(*message, user, password, domain)) return exchange.respond(200, body);
    exchange.respond(401, "", {{"WWW-Authenticate", "NTLM"}});
  };
}

Handler proxyBasicChallenge(std::string realm, std::string user, std::string password, std::string body) {
  const std::string credentials = user + ":" + password;
  const std::string expected = "Basic " + encode64(Bytes(credentials.begin(), credentials.end()));
  return [=](Exchange& exchange) {
    if (exchange.request().header("Proxy-Authorization") == expected) return exchange.respond(200, body);
    exchange.respond(407, "", {{"Proxy-Authenticate", "Basic realm=\"" + realm + "\""}});
  };
}

Handler connectTunnel(std::string realm, std::string user, std::string password) {
  const std::string credentials = user + ":" + password;
  const std::string expected = "Basic " + encode64(Bytes(credentials.begin(), credentials.end()));
  return [=](Exchange& exchange) {
    const Request& request = exchange.request();
    if (request.method != "CONNECT") return exchange.respond(405, "CONNECT only\n");
    if (!realm.empty() && request.header("Proxy-Authorization") != expected) {
      return exchange.respond(407, "who are you?", {{"Proxy-Authenticate", "Basic realm=\"" + realm + "\""}});
    }
    const std::size_t colon = request.target.rfind(':');
    const int upstream = colon == std::string::npos
                             ? -1
                             : Relay::connectLoopback(request.target.substr(0, colon),
                                                      std::atoi(request.target.c_str() + colon + 1));
    if (upstream < 0) return exchange.respond(502, "cannot reach " + request.target + "\n");
    exchange.write("HTTP/1.1 200 Connection established\r\n\r\n");
    exchange.tunnel(upstream);
  };
}

}  // namespace devserver::answers
