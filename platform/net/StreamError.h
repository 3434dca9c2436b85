#pragma once
// The errors a read stream reports, in the domains and with the numbers that code written against the
// original platform looks for: POSIX codes numbered as that platform numbered them (the low codes, up to
// 34, agree with Linux; the socket codes are translated), its network codes, and its TLS status codes,
// of which -9818 to -9800 mean "SSL problem". The description names the cause in plain words.

#include <string>

#include "platform/foundation/Error.h"

namespace pf {

class StreamError {
 public:
  static constexpr char kPosixDomain[] = "NSPOSIXErrorDomain";
  static constexpr char kNetworkDomain[] = "kCFErrorDomainCFNetwork";
  static constexpr char kTlsDomain[] = "NSOSStatusErrorDomain";

  static constexpr long kBrokenPipe = 32;
  static constexpr long kNetworkUnreachable = 51;
  static constexpr long kConnectionAborted = 53;
  static constexpr long kConnectionReset = 54;
  static constexpr long kNotConnected = 57;
  static constexpr long kTimedOut = 60;
  static constexpr long kConnectionRefused = 61;
  static constexpr long kHostUnreachable = 65;

  // The response could not be read as HTTP (head, framing, limits).
  static constexpr long kParseFailure = 303;
  // The URL names no host or a scheme other than http and https.
  static constexpr long kBadUrl = 305;
  static constexpr long kCannotFindHost = -1003;
  // The connection ended before the response did.
  static constexpr long kConnectionLost = -1005;
  // A request body stream that failed or ended short of its "Content-Length".
  static constexpr long kBodyStreamFailure = -1021;
  // A proxy that could not be spoken to, or that broke the tunnel it was asked for.
  static constexpr long kProxyConnectionFailure = 310;
  // SOCKS: the proxy could not reach the server; it broke the protocol; it refused the user name and
  // password; it accepts none of the ways offered to sign in.
  static constexpr long kSocksRequestFailed = 111;
  static constexpr long kSocksBadState = 120;
  static constexpr long kSocksBadCredentials = 122;
  static constexpr long kSocksNoAcceptableMethod = 124;

  static constexpr long kTlsProtocol = -9800;
  static constexpr long kTlsClosedAbort = -9806;
  static constexpr long kTlsCertificateInvalid = -9807;
  static constexpr long kTlsUnknownRoot = -9812;
  static constexpr long kTlsNoRoot = -9813;
  static constexpr long kTlsCertificateExpired = -9814;

  // The error of a system call, its errno translated by posixCode.
  static ErrorPtr posix(int systemErrno, const std::string& description);
  static ErrorPtr network(long code, const std::string& description);
  static ErrorPtr tls(long code, const std::string& description);
  static long posixCode(int systemErrno);
};

}  // namespace pf
