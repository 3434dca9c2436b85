#pragma once
// How a stream checks the server of an https URL. The defaults verify the certificate chain against the
// system's trusted roots and the URL's host name against the certificate; the switches loosen that the
// way a caller that does not validate certificates asks for.

#include <optional>
#include <string>

namespace pf {

struct TlsSettings {
  bool validatesCertificateChain = true;
  // With the chain validated: accept certificates out of their validity dates, or from any root.
  bool allowsExpiredCertificates = false;
  bool allowsAnyRoot = false;
  // The name the certificate must carry: the URL's host when unset; empty checks no name at all.
  std::optional<std::string> peerName;
  // PEM certificates to trust as roots besides the system's.
  std::string anchorCertificatesPem;
};

}  // namespace pf
