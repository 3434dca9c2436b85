#include "platform/net/SocksHandshake.h"

#include <arpa/inet.h>

#include <algorithm>
#include <utility>

#include "platform/net/StreamError.h"

namespace pf {
namespace {

constexpr char kVersion = 5;
constexpr char kNoAuthentication = 0;
constexpr char kUserPassword = 2;
constexpr unsigned char kNoAcceptableMethod = 0xff;
constexpr char kLoginVersion = 1;
constexpr char kConnect = 1;
constexpr char kIpv4 = 1;
constexpr char kDomainName = 3;
constexpr char kIpv6 = 4;

std::string replyText(unsigned char reply) {
  switch (reply) {
    case 1:
      return "a general failure";
    case 2:
      return "the connection is not allowed";
    case 3:
      return "the network is unreachable";
    case 4:
      return "the host is unreachable";
    case 5:
      return "the connection was refused";
    case 6:
      return "the time to live expired";
    case 7:
      return "the command is not supported";
    case 8:
      return "the address type is not supported";
    default:
      return "reply " + std::to_string(reply);
  }
}

// The address part of a CONNECT request: the type, then the address or the name with its length.
std::optional<std::string> addressOf(const std::string& host) {
  unsigned char address[16];
  if (inet_pton(AF_INET, host.c_str(), address) == 1) {
    return std::string(1, kIpv4) + std::string(reinterpret_cast<const char*>(address), 4);
  }
  if (inet_pton(AF_INET6, host.c_str(), address) == 1) {
    return std::string(1, kIpv6) + std::string(reinterpret_cast<const char*>(address), 16);
  }
  if (host.empty() || host.size() > 255) return std::nullopt;
  return std::string(1, kDomainName) + static_cast<char>(host.size()) + host;
}

}  // namespace

SocksHandshake::SocksHandshake(const std::string& host, int port, std::optional<Credentials> credentials)
    : credentials_(std::move(credentials)) {
  const std::optional<std::string> address = addressOf(host);
  if (!address || port < 1 || port > 65535) {
    fail(StreamError::kSocksBadState, "a SOCKS proxy cannot be asked for " + host);
    return;
  }
  target_ = *address + static_cast<char>(port >> 8) + static_cast<char>(port & 0xff);
  if (credentials_) {
    outgoing_ = {kVersion, 2, kNoAuthentication, kUserPassword};
  } else {
    outgoing_ = {kVersion, 1, kNoAuthentication};
  }
}

std::string SocksHandshake::takeOutgoing() {
  return std::exchange(outgoing_, std::string());
}

std::size_t SocksHandshake::feed(std::string_view bytes) {
  std::size_t used = 0;
  while (used < bytes.size() && step_ != Step::Done && step_ != Step::Failed) {
    const std::size_t take = std::min(needed() - reply_.size(), bytes.size() - used);
    reply_.append(bytes.substr(used, take));
    used += take;
    if (reply_.size() == needed()) takeReply();
  }
  return used;
}

std::size_t SocksHandshake::needed() const {
  if (step_ != Step::ConnectReply || reply_.size() < 4) return step_ == Step::ConnectReply ? 4 : 2;
  switch (reply_[3]) {
    case kIpv4:
      return 4 + 4 + 2;
    case kIpv6:
      return 4 + 16 + 2;
    case kDomainName:
      return reply_.size() < 5 ? 5 : 5 + static_cast<unsigned char>(reply_[4]) + 2;
    default:
      return 4;  // an unknown address type fails in takeReply
  }
}

void SocksHandshake::takeReply() {
  const auto byte = [this](std::size_t at) { return static_cast<unsigned char>(reply_[at]); };
  switch (step_) {
    case Step::Method:
      if (byte(0) != kVersion) return fail(StreamError::kSocksBadState, "the proxy does not speak SOCKS 5");
      if (byte(1) == kNoAuthentication) return sendConnect();
      if (byte(1) == kUserPassword && credentials_) {
        const Credentials& c = *credentials_;
        if (c.user.size() > 255 || c.password.size() > 255) {
          return fail(StreamError::kSocksBadCredentials, "the SOCKS user name or password is too long");
        }
        outgoing_ = std::string(1, kLoginVersion) + static_cast<char>(c.user.size()) + c.user +
                    static_cast<char>(c.password.size()) + c.password;
        reply_.clear();
        step_ = Step::LoginReply;
        return;
      }
      if (byte(1) == kNoAcceptableMethod) {
        return fail(StreamError::kSocksNoAcceptableMethod,
                    credentials_ ? "the SOCKS proxy accepts none of the ways offered to sign in"
                                 : "the SOCKS proxy asks for a user name and password");
      }
      return fail(StreamError::kSocksBadState, "the SOCKS proxy chose a way to sign in that was not offered");
    case Step::LoginReply:
      if (byte(1) != 0)
        return fail(StreamError::kSocksBadCredentials, "the SOCKS proxy refused the user name or password");
      return sendConnect();
    case Step::ConnectReply:
      if (byte(0) != kVersion) return fail(StreamError::kSocksBadState, "the proxy does not speak SOCKS 5");
      if (byte(1) != 0) {
        return fail(StreamError::kSocksRequestFailed,
                    "the SOCKS proxy could not connect: " + replyText(byte(1)));
      }
      if (byte(3) != kIpv4 && byte(3) != kIpv6 && byte(3) != kDomainName) {
        return fail(StreamError::kSocksBadState, "the SOCKS proxy answered an unknown address type");
      }
      if (reply_.size() < needed()) return;  // the address is still to come
      step_ = Step::Done;
      return;
    default:
      return;
  }
}

void SocksHandshake::sendConnect() {
  outgoing_ = std::string{kVersion, kConnect, 0} + target_;
  reply_.clear();
  step_ = Step::ConnectReply;
}

void SocksHandshake::fail(long code, const std::string& why) {
  step_ = Step::Failed;
  outgoing_.clear();
  error_ = StreamError::network(code, why);
}

}  // namespace pf
