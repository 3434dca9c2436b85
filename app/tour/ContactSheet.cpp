#include "app/tour/ContactSheet.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "core/util/StringUtil.h"

namespace {

namespace fs = std::filesystem;

constexpr char kContactSheetShotsFile[] = "shots.json";

// A relative URL of a file in the profile's folder: each path segment's unsafe bytes percent-encoded.
std::string contactSheetUrl(const std::string& profile, const std::string& file) {
  std::string url;
  for (const std::string* part : {&profile, &file}) {
    if (!url.empty()) url += '/';
    for (unsigned char c : *part) {
      if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '@') {
        url += static_cast<char>(c);
      } else {
        static const char kHex[] = "0123456789ABCDEF";
        url += '%';
        url += kHex[c >> 4];
        url += kHex[c & 15];
      }
    }
  }
  return url;
}

bool contactSheetWrite(const fs::path& path, const std::string& text) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

}  // namespace

bool ContactSheet::writeShots(const std::string& folder, const Section& section) {
  nlohmann::json shots = nlohmann::json::array();
  for (const Shot& shot : section.shots) {
    shots.push_back({{"step", shot.step},
                     {"class", shot.screenClass},
                     {"picture", shot.picture},
                     {"findings", shot.findings}});
  }
  // Replace keeps a step name that is not valid UTF-8 from failing the whole sheet.
  return contactSheetWrite(fs::path(folder) / section.profile / kContactSheetShotsFile,
                           shots.dump(1, ' ', false, nlohmann::json::error_handler_t::replace));
}

std::vector<ContactSheet::Section> ContactSheet::readSections(const std::string& folder) {
  std::vector<Section> sections;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const fs::path file = entry.path() / kContactSheetShotsFile;
    std::ifstream in(file, std::ios::binary);
    if (!in) continue;
    const auto json = nlohmann::json::parse(in, nullptr, false);
    if (!json.is_array()) continue;
    Section section{entry.path().filename().string(), {}};
    for (const auto& item : json) {
      if (!item.is_object()) continue;
      Shot shot;
      shot.step = item.value("step", "");
      shot.screenClass = item.value("class", "");
      shot.picture = item.value("picture", "");
      if (const auto findings = item.find("findings"); findings != item.end() && findings->is_array())
        for (const auto& finding : *findings)
          if (finding.is_string()) shot.findings.push_back(finding.get<std::string>());
      section.shots.push_back(std::move(shot));
    }
    sections.push_back(std::move(section));
  }
  std::sort(sections.begin(), sections.end(),
            [](const Section& a, const Section& b) { return a.profile < b.profile; });
  return sections;
}

std::string ContactSheet::html(const std::vector<Section>& sections) {
  std::ostringstream page;
  page << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Marlune tour</title>\n<style>\n"
          "body{font-family:sans-serif;background:#eee;margin:16px}\n"
          "figure{display:inline-block;vertical-align:top;margin:8px;padding:8px;background:#fff;max-width:340px}\n"
          "figure img{max-width:320px;border:1px solid #999}\n"
          "figcaption{font-size:13px}\n.class{font-family:monospace}\n.finding{color:#b00}\n"
          "</style></head><body>\n<h1>Marlune tour</h1>\n";
  for (const Section& section : sections) {
    std::size_t withFindings = 0;
    for (const Shot& shot : section.shots) withFindings += shot.findings.empty() ? 0 : 1;
    page << "<h2>" << StringUtil::htmlEscaped(section.profile) << "</h2>\n<p>" << section.shots.size() << " screens, "
         << withFindings << " with findings</p>\n";
    for (const Shot& shot : section.shots) {
      const std::string url = StringUtil::htmlEscaped(contactSheetUrl(section.profile, shot.picture));
      page << "<figure><a href=\"" << url << "\"><img src=\"" << url << "\" alt=\"" << StringUtil::htmlEscaped(shot.step)
           << "\"></a>\n<figcaption><b>" << StringUtil::htmlEscaped(shot.step) << "</b><br><span class=\"class\">"
           << StringUtil::htmlEscaped(shot.screenClass) << "</span>";
      for (const std::string& finding : shot.findings)
        page << "<br><span class=\"finding\">" << StringUtil::htmlEscaped(finding) << "</span>";
      page << "</figcaption></figure>\n";
    }
  }
  page << "</body></html>\n";
  return page.str();
}

std::string ContactSheet::writeIndex(const std::string& folder) {
  const fs::path path = fs::path(folder) / "index.html";
  if (!contactSheetWrite(path, html(readSections(folder)))) return "";
  return path.string();
}
