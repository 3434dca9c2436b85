#include "platform/net/StreamError.h"

#include <cerrno>

namespace pf {

ErrorPtr StreamError::posix(int systemErrno, const std::string& description) {
  return Error::make(kPosixDomain, posixCode(systemErrno), description);
}

ErrorPtr StreamError::network(long code, const std::string& description) {
  return Error::make(kNetworkDomain, code, description);
}

ErrorPtr StreamError::tls(long code, const std::string& description) {
  return Error::make(kTlsDomain, code, description);
}

long StreamError::posixCode(int systemErrno) {
  switch (systemErrno) {
    case ENETUNREACH:
      return kNetworkUnreachable;
    case ECONNABORTED:
      return kConnectionAborted;
    case ECONNRESET:
      return kConnectionReset;
    case ENOTCONN:
      return kNotConnected;
    case ETIMEDOUT:
      return kTimedOut;
    case ECONNREFUSED:
      return kConnectionRefused;
    case EHOSTUNREACH:
      return kHostUnreachable;
    default:
      return systemErrno;
  }
}

}  // namespace pf
