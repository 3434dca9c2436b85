// Proxy auto-configuration scripts on the bounded engine: compiling the script, asking it for a few
// URLs with the helper functions at hand (names resolve from a fixed table, never the network), and
// reading its answers. Also the answer reader and the shell-expression matcher on their own.
// Input: the script; its first line also serves as a FindProxyForURL answer and a shExpMatch pattern.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/net/PacScript.h"

namespace {

const pf::PacScript::Host& machine() {
  static const pf::PacScript::Host host{
      [](std::string_view name) -> std::optional<std::string> {
        static const std::map<std::string, std::string, std::less<>> kAddresses = {
            {"build.corp.example", "10.1.2.3"}, {"www.example.org", "93.184.216.34"}, {"localhost", "127.0.0.1"}};
        const auto found = kAddresses.find(name);
        if (found == kAddresses.end()) return std::nullopt;
        return found->second;
      },
      [] { return std::string("10.1.9.9"); },
      [] { return 1796297400000.0; }};  // a Wednesday morning
  return host;
}

// Tight enough that scripts which loop or allocate without end cost little of the fuzzing time.
constexpr pf::ScriptHeap::Limits kLimits{std::chrono::milliseconds(100), 4u << 20};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(bytes), size);
  const std::string_view firstLine = source.substr(0, source.find('\n'));
  (void)pf::PacScript::parseResult(firstLine, false);
  (void)pf::PacScript::parseResult(firstLine, true);
  (void)pf::PacHelperFunctions::shellExpressionMatches("build.corp.example", firstLine, 100000);

  pf::ErrorPtr error;
  const auto script = pf::PacScript::compile(source, &error, kLimits, machine());
  if (!script) return 0;
  for (const auto& [url, host] : {std::pair{"http://www.example.org/a?b", "www.example.org"},
                                  std::pair{"https://build.corp.example/", "build.corp.example"},
                                  std::pair{"http://intranet/", "intranet"}}) {
    (void)script->proxiesFor(url, host, &error, machine());
  }
  return 0;
}
