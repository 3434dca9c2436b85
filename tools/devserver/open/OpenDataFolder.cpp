#include "tools/devserver/open/OpenDataFolder.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace devserver {

namespace {

std::optional<std::string> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every answers/**/*.json as method path and content; files that are no JSON are left out.
std::vector<std::pair<std::string, std::string>> readAnswers(const std::filesystem::path& root) {
  std::vector<std::pair<std::string, std::string>> answers;
  std::error_code error;
  if (!std::filesystem::is_directory(root, error)) return answers;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".json") continue;
    std::optional<std::string> content = readFile(entry.path());
    if (!content || !nlohmann::json::accept(*content)) continue;
    std::filesystem::path relative = entry.path().lexically_relative(root);
    relative.replace_extension();
    answers.emplace_back("/" + relative.generic_string(), std::move(*content));
  }
  return answers;
}

}  // namespace

std::optional<OpenDataFolder> OpenDataFolder::read(const std::string& folder, std::string* problem) {
  const std::filesystem::path root(folder);
  const std::optional<std::string> text = readFile(root / "open.json");
  if (!text) {
    *problem = "cannot read " + (root / "open.json").string();
    return std::nullopt;
  }
  try {
    const nlohmann::json open = nlohmann::json::parse(*text);
    OpenDataFolder data;
    data.settings.appKey = open.at("appKey").get<std::string>();
    data.settings.secret = open.at("secret").get<std::string>();
    data.settings.sessionLifetime = open.value("sessionLifetime", data.settings.sessionLifetime);
    for (const nlohmann::json& user : open.value("users", nlohmann::json::array())) {
      data.users.push_back(OpenUser{user.at("corpCode").get<std::string>(),
                                    user.at("loginName").get<std::string>(),
                                    user.at("password").get<std::string>(), user.value("userId", "")});
    }
    data.answers = readAnswers(root / "answers");
    return data;
  } catch (const nlohmann::json::exception& e) {
    *problem = (root / "open.json").string() + ": " + e.what();
    return std::nullopt;
  }
}

void OpenDataFolder::install(OpenServer& server) const {
  for (const OpenUser& user : users) server.addUser(user);
  for (const auto& [path, content] : answers) {
    server.method(path, [content = content](const OpenCall&) { return OpenAnswer::json(content); });
  }
}

}  // namespace devserver
