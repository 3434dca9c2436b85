#include "platform/net/PacScript.h"

#include "platform/foundation/TextHelpers.h"

namespace pf {
namespace {

constexpr char kEntryPoint[] = "FindProxyForURL";

ErrorPtr cannotEvaluate(const std::string& reason) {
  return Error::make(PacScript::kErrorDomain, PacScript::kCannotEvaluate,
                     "The proxy auto-configuration script cannot be evaluated: " + reason);
}

template <typename T>
T fail(ErrorPtr* error, const std::string& reason) {
  if (error != nullptr) *error = cannotEvaluate(reason);
  return T{};
}

}  // namespace

PacScript::PacScript(std::string source, ScriptHeap::Limits limits)
    : source_(std::move(source)), limits_(limits) {}

std::shared_ptr<const PacScript> PacScript::compile(std::string_view source, ErrorPtr* error,
                                                    ScriptHeap::Limits limits, const Host& machine) {
  using Result = std::shared_ptr<const PacScript>;
  if (source.size() > kMaxScriptLength) {
    return fail<Result>(error, "it is longer than " + std::to_string(kMaxScriptLength) + " bytes");
  }
  auto script = std::make_shared<const PacScript>(std::string(source), limits);
  std::string failure;
  if (!script->load(machine, failure)) return fail<Result>(error, failure);
  if (error != nullptr) *error = nullptr;
  return script;
}

std::unique_ptr<ScriptHeap> PacScript::load(const Host& machine, std::string& failure) const {
  auto heap = std::make_unique<ScriptHeap>(limits_, machine.now);
  if (!PacHelperFunctions::install(*heap, machine, failure) ||
      !heap->evaluate(source_, "proxy script", failure)) {
    return nullptr;
  }
  if (!heap->isFunction(kEntryPoint)) {
    failure = std::string("it defines no function ") + kEntryPoint;
    return nullptr;
  }
  return heap;
}

std::optional<std::vector<ProxyEntry>> PacScript::proxiesFor(std::string_view url, std::string_view host,
                                                             ErrorPtr* error, const Host& machine) const {
  using Result = std::optional<std::vector<ProxyEntry>>;
  std::string failure;
  const std::unique_ptr<ScriptHeap> heap = load(machine, failure);
  if (!heap) return fail<Result>(error, failure);
  const std::optional<std::string> answer =
      heap->call(kEntryPoint, {std::string(url), text::lowercase(host)}, failure);
  if (!answer) return fail<Result>(error, failure);
  if (error != nullptr) *error = nullptr;
  return parseResult(*answer, text::lowercase(url).starts_with("https:"));
}

std::vector<ProxyEntry> PacScript::parseResult(std::string_view result, bool forHttps) {
  std::vector<ProxyEntry> entries;
  if (text::trimWhitespace(result).empty()) return {ProxyEntry::direct()};
  for (const std::string& item : text::split(result, ";")) {
    std::string trimmed = text::trimWhitespace(item);
    std::size_t space = trimmed.find_first_of(" \t");
    std::string keyword = text::uppercase(trimmed.substr(0, space));
    std::string address = space == std::string::npos ? "" : text::trimWhitespace(trimmed.substr(space));
    std::optional<ProxyEntry> entry;
    if (keyword == "DIRECT" && address.empty()) {
      entry = ProxyEntry::direct();
    } else if (keyword == "PROXY" || keyword == "HTTP") {
      entry = ProxyEntry::proxy(forHttps ? ProxyEntry::Type::Https : ProxyEntry::Type::Http, address, 80);
    } else if (keyword == "SOCKS" || keyword == "SOCKS4" || keyword == "SOCKS5") {
      entry = ProxyEntry::proxy(ProxyEntry::Type::Socks, address, 1080);
    }
    if (entry) entries.push_back(std::move(*entry));
  }
  return entries;
}

}  // namespace pf
