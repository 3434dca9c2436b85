#include "platform/net/PacHelperFunctions.h"

#include <arpa/inet.h>
#include <duktape.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>
#include <future>
#include <memory>

#include "platform/net/HostResolver.h"
#include "platform/net/InterfaceScanner.h"
#include "platform/net/IpAddress.h"
#include "platform/net/ScriptHeap.h"

namespace pf {
namespace {

// The functions written in JavaScript; the native ones (dnsResolve, myIpAddress, shExpMatch) are
// defined before these run.
constexpr char kScriptFunctions[] = R"js(
function isPlainHostName(host) {
  return String(host).indexOf('.') < 0;
}

function dnsDomainIs(host, domain) {
  host = String(host).toLowerCase();
  domain = String(domain).toLowerCase();
  return host.length >= domain.length && host.substring(host.length - domain.length) === domain;
}

function localHostOrDomainIs(host, hostdom) {
  host = String(host).toLowerCase();
  hostdom = String(hostdom).toLowerCase();
  if (host === hostdom) return true;
  return host.indexOf('.') < 0 && hostdom.substring(0, host.length + 1) === host + '.';
}

function isResolvable(host) {
  return dnsResolve(host) !== null;
}

function dnsDomainLevels(host) {
  return String(host).split('.').length - 1;
}

function alert(message) {}

// A dotted IPv4 address as an unsigned number; null for anything else.
function pacIpv4Number(text) {
  var parts = String(text).split('.');
  if (parts.length !== 4) return null;
  var value = 0;
  for (var i = 0; i < 4; i++) {
    if (!/^[0-9]{1,3}$/.test(parts[i]) || Number(parts[i]) > 255) return null;
    value = value * 256 + Number(parts[i]);
  }
  return value;
}

function isInNet(host, pattern, mask) {
  var address = pacIpv4Number(host);
  if (address === null) {
    var resolved = dnsResolve(host);
    address = resolved === null ? null : pacIpv4Number(resolved);
  }
  var base = pacIpv4Number(pattern);
  var bits = pacIpv4Number(mask);
  if (address === null || base === null || bits === null) return false;
  return ((address & bits) >>> 0) === ((base & bits) >>> 0);
}

// The arguments of a time rule without a trailing "GMT", and whether it was there.
function pacRuleArguments(args) {
  var list = Array.prototype.slice.call(args);
  var gmt = list.length > 0 && String(list[list.length - 1]).toUpperCase() === 'GMT';
  if (gmt) list.pop();
  return { list: list, now: new Date(), gmt: gmt };
}

// Whether value lies from first to last, both included, wrapping round when first comes after last.
function pacWithin(value, first, last) {
  return first <= last ? value >= first && value <= last : value >= first || value <= last;
}

var pacDays = ['SUN', 'MON', 'TUE', 'WED', 'THU', 'FRI', 'SAT'];
var pacMonths = ['JAN', 'FEB', 'MAR', 'APR', 'MAY', 'JUN', 'JUL', 'AUG', 'SEP', 'OCT', 'NOV', 'DEC'];

function weekdayRange() {
  var rule = pacRuleArguments(arguments);
  if (rule.list.length < 1 || rule.list.length > 2) return false;
  var first = pacDays.indexOf(String(rule.list[0]).toUpperCase());
  var last = rule.list.length > 1 ? pacDays.indexOf(String(rule.list[1]).toUpperCase()) : first;
  if (first < 0 || last < 0) return false;
  return pacWithin(rule.gmt ? rule.now.getUTCDay() : rule.now.getDay(), first, last);
}

// One date-rule argument: {month: 0-11}, {year: 1970-} or {day: 1-31}; null when it is none of them.
function pacDatePart(value) {
  var month = pacMonths.indexOf(String(value).toUpperCase());
  if (month >= 0) return { month: month };
  if (!/^[0-9]+$/.test(String(value))) return null;
  var number = Number(value);
  if (number >= 1 && number <= 31) return { day: number };
  if (number > 31) return { year: number };
  return null;
}

// A comparable number from the parts a bound names.
function pacDateKey(parts) {
  var key = 0;
  if (parts.year !== undefined) key += parts.year * 10000;
  if (parts.month !== undefined) key += (parts.month + 1) * 100;
  if (parts.day !== undefined) key += parts.day;
  return key;
}

function pacMerge(values) {
  var parts = {};
  for (var i = 0; i < values.length; i++) {
    var part = pacDatePart(values[i]);
    if (part === null) return null;
    for (var name in part) {
      if (parts[name] !== undefined) return null;
      parts[name] = part[name];
    }
  }
  return parts;
}

function dateRange() {
  var rule = pacRuleArguments(arguments);
  var n = rule.list.length;
  if (n < 1 || n > 6 || (n > 1 && n % 2 !== 0)) return false;
  var first = pacMerge(n === 1 ? rule.list : rule.list.slice(0, n / 2));
  var last = n === 1 ? first : pacMerge(rule.list.slice(n / 2));
  if (first === null || last === null) return false;
  for (var name in first) if (last[name] === undefined) return false;
  var d = rule.now;
  var today = {
    year: rule.gmt ? d.getUTCFullYear() : d.getFullYear(),
    month: rule.gmt ? d.getUTCMonth() : d.getMonth(),
    day: rule.gmt ? d.getUTCDate() : d.getDate()
  };
  var shape = {};
  for (var part in first) shape[part] = today[part];
  var from = pacDateKey(first), to = pacDateKey(last), now = pacDateKey(shape);
  if (first.year !== undefined) return now >= from && now <= to;  // years do not wrap
  return pacWithin(now, from, to);
}

function timeRange() {
  var rule = pacRuleArguments(arguments);
  var v = rule.list.map(Number);
  for (var i = 0; i < v.length; i++) if (isNaN(v[i])) return false;
  var d = rule.now;
  var now = (rule.gmt ? d.getUTCHours() : d.getHours()) * 3600 +
            (rule.gmt ? d.getUTCMinutes() : d.getMinutes()) * 60 + (rule.gmt ? d.getUTCSeconds() : d.getSeconds());
  var start, end;  // seconds of the day, end not included
  if (v.length === 1) {
    start = v[0] * 3600; end = start + 3600;
  } else if (v.length === 2) {
    start = v[0] * 3600; end = v[1] === v[0] ? start + 3600 : v[1] * 3600;
  } else if (v.length === 4) {
    start = v[0] * 3600 + v[1] * 60; end = v[2] * 3600 + v[3] * 60;
  } else if (v.length === 6) {
    start = v[0] * 3600 + v[1] * 60 + v[2]; end = v[3] * 3600 + v[4] * 60 + v[5] + 1;
  } else {
    return false;
  }
  end = end % 86400;
  return start < end ? now >= start && now < end : now >= start || now < end;
}
)js";

constexpr char kHostKey[] =
    "\xff"
    "pacHost";
constexpr char kHeapKey[] =
    "\xff"
    "pacHeap";

// Room for a dotted IPv4 address and its terminator.
using AddressText = char[INET_ADDRSTRLEN];

void* stashed(duk_context* context, const char* key) {
  duk_push_global_stash(context);
  duk_get_prop_string(context, -1, key);
  void* pointer = duk_get_pointer(context, -1);
  duk_pop_2(context);
  return pointer;
}

bool copyAddress(const std::optional<std::string>& address, AddressText& out) {
  if (!address || address->size() >= sizeof out) return false;
  std::memcpy(out, address->c_str(), address->size() + 1);
  return true;
}

// The C++ work of the native functions happens here, so that no C++ object is alive when the engine
// unwinds a native call with an error.
bool resolveInto(duk_context* context, std::string_view host, AddressText& out) {
  const auto& functions = *static_cast<const PacHelperFunctions::Host*>(stashed(context, kHostKey));
  const auto& heap = *static_cast<const ScriptHeap*>(stashed(context, kHeapKey));
  try {
    if (functions.resolve) return copyAddress(functions.resolve(host), out);
    return copyAddress(PacHelperFunctions::systemResolve(host, heap.deadline()), out);
  } catch (const std::exception&) {
    return false;  // an exception must not cross the engine's frames
  }
}

bool ownAddressInto(duk_context* context, AddressText& out) {
  const auto& functions = *static_cast<const PacHelperFunctions::Host*>(stashed(context, kHostKey));
  try {
    return copyAddress(functions.ownAddress ? functions.ownAddress() : PacHelperFunctions::systemOwnAddress(),
                       out);
  } catch (const std::exception&) {
    return false;
  }
}

duk_ret_t dnsResolve(duk_context* context) {
  duk_size_t length = 0;
  const char* host = duk_safe_to_lstring(context, 0, &length);
  AddressText address;
  if (resolveInto(context, std::string_view(host, length), address))
    duk_push_string(context, address);
  else
    duk_push_null(context);
  return 1;
}

duk_ret_t myIpAddress(duk_context* context) {
  AddressText address;
  duk_push_string(context, ownAddressInto(context, address) ? address : "127.0.0.1");
  return 1;
}

duk_ret_t shExpMatch(duk_context* context) {
  duk_size_t textLength = 0;
  duk_size_t patternLength = 0;
  const char* text = duk_safe_to_lstring(context, 0, &textLength);
  const char* pattern = duk_safe_to_lstring(context, 1, &patternLength);
  const std::optional<bool> matches = PacHelperFunctions::shellExpressionMatches(
      std::string_view(text, textLength), std::string_view(pattern, patternLength));
  if (!matches)
    return duk_error(context, DUK_ERR_RANGE_ERROR, "shExpMatch: the pattern takes too long to match");
  duk_push_boolean(context, *matches);
  return 1;
}

// Puts the pointers and native functions in place; runs inside a protected call.
duk_ret_t defineNatives(duk_context* context, void* pointers) {
  auto* both = static_cast<std::pair<const void*, const void*>*>(pointers);
  duk_push_global_stash(context);
  duk_push_pointer(context, const_cast<void*>(both->first));
  duk_put_prop_string(context, -2, kHostKey);
  duk_push_pointer(context, const_cast<void*>(both->second));
  duk_put_prop_string(context, -2, kHeapKey);
  duk_pop(context);
  const struct {
    const char* name;
    duk_c_function function;
    duk_idx_t arguments;
  } natives[] = {
      {"dnsResolve", dnsResolve, 1}, {"myIpAddress", myIpAddress, 0}, {"shExpMatch", shExpMatch, 2}};
  for (const auto& native : natives) {
    duk_push_c_function(context, native.function, native.arguments);
    duk_put_global_string(context, native.name);
  }
  return 0;
}

}  // namespace

bool PacHelperFunctions::install(ScriptHeap& heap, const Host& host, std::string& failure) {
  duk_context* context = heap.context();
  if (context == nullptr) {
    failure = "the script engine could not start";
    return false;
  }
  std::pair<const void*, const void*> pointers(&host, &heap);
  if (duk_safe_call(context, defineNatives, &pointers, 0, 1) != DUK_EXEC_SUCCESS) {
    failure = duk_safe_to_string(context, -1);
    duk_pop(context);
    return false;
  }
  duk_pop(context);
  return heap.evaluate(kScriptFunctions, "helper functions", failure);
}

std::optional<bool> PacHelperFunctions::shellExpressionMatches(std::string_view text,
                                                               std::string_view pattern,
                                                               std::size_t maxSteps) {
  // Greedy matching that only ever goes back to the last star: a later star can take over whatever
  // an earlier one would have had to.
  std::size_t t = 0;
  std::size_t p = 0;
  std::size_t star = std::string_view::npos;
  std::size_t afterStar = 0;
  std::size_t steps = 0;
  while (t < text.size()) {
    if (++steps > maxSteps) return std::nullopt;
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      afterStar = t;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++afterStar;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::optional<std::string> PacHelperFunctions::systemResolve(std::string_view host,
                                                             std::chrono::steady_clock::time_point deadline) {
  if (const std::optional<IpAddress> literal = IpAddress::parse(host)) {
    return literal->isV4() ? std::optional(literal->text()) : std::nullopt;
  }
  auto answer = std::make_shared<std::promise<HostResolver::Answer>>();
  std::future<HostResolver::Answer> pending = answer->get_future();
  HostResolver::resolve(std::string(host), 80,
                        [answer](HostResolver::Answer found) { answer->set_value(std::move(found)); });
  // A lookup still running at the deadline goes on alone; the script fails on its time limit.
  if (pending.wait_until(deadline) != std::future_status::ready) return std::nullopt;
  for (const SocketAddress& address : pending.get().addresses) {
    sockaddr_in v4{};
    if (address.length != sizeof v4) continue;
    std::memcpy(&v4, address.bytes.data(), sizeof v4);
    if (v4.sin_family != AF_INET) continue;
    char text[INET_ADDRSTRLEN];
    if (inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text) != nullptr) return std::string(text);
  }
  return std::nullopt;
}

std::string PacHelperFunctions::systemOwnAddress() {
  for (const NetworkInterface& link : InterfaceScanner().interfaces()) {
    if (!link.running || link.kind == NetworkInterface::Kind::Loopback) continue;
    for (const InterfaceAddress& assigned : link.addresses) {
      if (assigned.address.isV4() && !assigned.address.isLoopback() && !assigned.address.isLinkLocal()) {
        return assigned.address.text();
      }
    }
  }
  return "127.0.0.1";
}

}  // namespace pf
