#include "tools/devserver/demo/DemoStore.h"

#include <algorithm>
#include <mutex>

#include <nlohmann/json.hpp>

namespace devserver {

namespace {

struct DemoStoreRelease {
  std::mutex mutex;
  std::optional<std::string> version;
  std::string notes;
};

DemoStoreRelease& storeRelease() {
  static DemoStoreRelease release;
  return release;
}

int storeHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The value of one query parameter, percent-decoded ("+" as a space); nullopt when absent.
std::optional<std::string> storeQueryValue(const std::string& query, const std::string& name) {
  std::size_t start = 0;
  while (start <= query.size()) {
    const std::size_t end = std::min(query.find('&', start), query.size());
    const std::string pair = query.substr(start, end - start);
    if (pair.starts_with(name + "=")) {
      const std::string raw = pair.substr(name.size() + 1);
      std::string value;
      for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%' && i + 2 < raw.size() && storeHexValue(raw[i + 1]) >= 0 && storeHexValue(raw[i + 2]) >= 0) {
          value += static_cast<char>(storeHexValue(raw[i + 1]) * 16 + storeHexValue(raw[i + 2]));
          i += 2;
        } else {
          value += raw[i] == '+' ? ' ' : raw[i];
        }
      }
      return value;
    }
    start = end + 1;
  }
  return std::nullopt;
}

void answerLookup(Exchange& exchange) {
  const Request& request = exchange.request();
  nlohmann::json results = nlohmann::json::array();
  std::optional<std::string> version;
  std::string notes;
  {
    std::lock_guard lock(storeRelease().mutex);
    version = storeRelease().version;
    notes = storeRelease().notes;
  }
  const auto bundleId = storeQueryValue(request.query, "bundleId");
  const auto trackId = storeQueryValue(request.query, "id");
  const bool asked = bundleId || (trackId && *trackId == std::to_string(DemoStore::kTrackId));
  if (version && asked && request.path.ends_with("/lookup")) {
    results.push_back({{"trackId", DemoStore::kTrackId},
                       {"trackName", "Marlune"},
                       {"bundleId", bundleId.value_or("com.tessavorn.marlune")},
                       {"version", *version},
                       {"releaseNotes", notes}});
  }
  const nlohmann::json body = {{"resultCount", results.size()}, {"results", results}};
  exchange.respond(200, body.dump(), {{"Content-Type", "text/javascript; charset=utf-8"}});
}

}  // namespace

void DemoStore::install(OpenServer& server) {
  server.route("/store/*", answerLookup);
}

void DemoStore::publish(std::optional<std::string> version, std::string notes) {
  std::lock_guard lock(storeRelease().mutex);
  storeRelease().version = std::move(version);
  storeRelease().notes = std::move(notes);
}

}  // namespace devserver
