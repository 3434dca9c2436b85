#pragma once
// Handlers that challenge for credentials and check the client's answers with their own arithmetic, so a
// test learns whether the engine's Authorization headers are right, not merely present.

#include <string>

#include "tools/devserver/Exchange.h"

namespace devserver::answers {

// 401 with a Digest challenge (MD5, qop "auth", a fixed nonce) until a request carries a response that
// matches these credentials for its own method and target; then 200 with the body.
Handler digestChallenge(std::string realm, std::string user, std::string password, std::string body);

// NTLM over three requests: a bare "NTLM" challenge, then a challenge message for the negotiate message,
// then 200 with the body when the authenticate message carries an NTLMv2 response for these
// credentials (the domain as sent must equal `domain`), else a bare "NTLM" challenge again (refused).
Handler ntlmChallenge(std::string user, std::string password, std::string domain, std::string body);

// A proxy's answer: 407 with a Basic challenge unless "Proxy-Authorization" carries these credentials,
// then 200 with the body.
Handler proxyBasicChallenge(std::string realm, std::string user, std::string password, std::string body);

// An HTTP proxy's answer to CONNECT host:port (route it under "host:*"): with a realm given, 407 with a
// Basic challenge until "Proxy-Authorization" carries these credentials; then 200 and the tunnel to the
// server, which must be on this machine (see Relay; else 502).
Handler connectTunnel(std::string realm = "", std::string user = "", std::string password = "");

}  // namespace devserver::answers
