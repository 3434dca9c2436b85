#pragma once
// A proxy auto-configuration script: JavaScript that defines FindProxyForURL(url, host), run on an
// embedded engine with the standard helper functions (see PacHelperFunctions). Each evaluation gets a
// fresh engine heap bounded in time and memory (see ScriptHeap), so a script that loops, recurses or
// allocates without end fails with kCannotEvaluate instead of holding up its caller, and nothing a
// script leaves behind reaches the next evaluation. Name lookups made by the script block the thread
// that evaluates it: evaluate off any thread that serves other work.
// Immutable once compiled; safe to share across threads.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/net/PacHelperFunctions.h"
#include "platform/net/ProxyEntry.h"
#include "platform/net/ScriptHeap.h"

namespace pf {

class PacScript {
 public:
  // The platform's proxy-script error.
  static constexpr char kErrorDomain[] = "kCFErrorDomainCFNetwork";
  static constexpr long kCannotEvaluate = 308;

  static constexpr std::size_t kMaxScriptLength = 1 << 20;

  using Resolver = PacHelperFunctions::Resolver;
  using Host = PacHelperFunctions::Host;

  // Runs the script once to define its functions; nullptr (and the error) when it is too long, does not
  // compile, throws, runs past the limits or defines no FindProxyForURL.
  static std::shared_ptr<const PacScript> compile(std::string_view source, ErrorPtr* error = nullptr,
                                                  ScriptHeap::Limits limits = {}, const Host& machine = {});

  // The entries FindProxyForURL answers for the URL and its host (in lower case, as names compare);
  // nullopt (and the error) when it throws, runs past the limits or returns no text.
  std::optional<std::vector<ProxyEntry>> proxiesFor(std::string_view url, std::string_view host,
                                                    ErrorPtr* error = nullptr,
                                                    const Host& machine = {}) const;

  // A FindProxyForURL answer ("PROXY h:p; SOCKS h:p; DIRECT") as entries; PROXY becomes an Http entry, or
  // Https for an https URL. Unreadable or unsupported items (HTTPS, a bad port) are skipped; an empty
  // answer means a direct connection.
  static std::vector<ProxyEntry> parseResult(std::string_view result, bool forHttps);

  PacScript(std::string source, ScriptHeap::Limits limits);

 private:
  // A heap with the helper functions and the script defined; nullptr with the reason on failure.
  // machine must outlive the heap.
  std::unique_ptr<ScriptHeap> load(const Host& machine, std::string& failure) const;

  std::string source_;
  ScriptHeap::Limits limits_;
};

}  // namespace pf
