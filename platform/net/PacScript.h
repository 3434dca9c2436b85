#pragma once
// A proxy auto-configuration script, evaluated without a JavaScript engine. Real deployments mostly use
// a small, plain subset, and that subset is what runs here:
//
//   function FindProxyForURL(url, host) {
//     if (isPlainHostName(host) || dnsDomainIs(host, ".corp.example")) return "DIRECT";
//     else if (shExpMatch(host, "*.video.example") && !(host == "a.video.example")) return "PROXY v:8080";
//     return "PROXY proxy:3128; SOCKS fallback:1080; DIRECT";
//   }
//
// Statements: blocks, if/else, return; expressions: string literals, true/false, the two parameters,
// ==, !=, ===, !==, !, &&, || and parentheses; functions: isPlainHostName, dnsDomainIs,
// localHostOrDomainIs, shExpMatch, dnsResolve, isResolvable and isInNet (IPv4, names resolved through
// the resolver). Anything else (variables, loops, string methods, numbers, other functions) is reported
// as kCannotEvaluate, and the caller connects directly. Scripts and nesting are bounded, and there are
// no loops and pattern matching is budgeted, so evaluation always ends soon.
// Immutable once compiled; safe to share across threads.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/net/ProxyEntry.h"

namespace pf {

class PacScript {
 public:
  // The platform's proxy-script error.
  static constexpr char kErrorDomain[] = "kCFErrorDomainCFNetwork";
  static constexpr long kCannotEvaluate = 308;

  static constexpr std::size_t kMaxScriptLength = 1 << 20;
  static constexpr int kMaxNesting = 64;
  // Pattern matching work one evaluation may do, so a hostile script cannot stall its caller.
  static constexpr std::size_t kMaxMatchSteps = 10'000'000;

  // A host name to an IPv4 address in dotted form; nullopt when it does not resolve.
  using Resolver = std::function<std::optional<std::string>(std::string_view host)>;

  // nullptr (and the error) when the script is outside the subset.
  static std::shared_ptr<const PacScript> compile(std::string_view source, ErrorPtr* error = nullptr);

  // The entries FindProxyForURL answers for the URL and its host; nullopt (and the error) when the
  // script returns no text. Without a resolver, names are resolved by the system.
  std::optional<std::vector<ProxyEntry>> proxiesFor(std::string_view url, std::string_view host,
                                                    ErrorPtr* error = nullptr, Resolver resolver = {}) const;

  // A FindProxyForURL answer ("PROXY h:p; SOCKS h:p; DIRECT") as entries; PROXY becomes an Http entry, or
  // Https for an https URL. Unreadable or unsupported items (HTTPS, a bad port) are skipped; an empty
  // answer means a direct connection.
  static std::vector<ProxyEntry> parseResult(std::string_view result, bool forHttps);

  struct Node;

  explicit PacScript(std::unique_ptr<const Node> body);
  ~PacScript();

 private:
  std::unique_ptr<const Node> body_;
};

}  // namespace pf
