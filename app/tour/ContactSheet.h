#pragma once
// The tour's contact sheet: one page, index.html, showing every screen's picture with the step that
// led there, the screen's class and what was found wrong on it. Each profile's tour keeps its shots
// in <folder>/<profile>/shots.json beside its pictures, so the phone and the tablet may be toured by
// separate runs and the page shows both. Names and texts are escaped for the page; picture paths
// are relative, so the folder can be moved or opened from anywhere. Main thread only.

#include <string>
#include <vector>

class ContactSheet {
 public:
  struct Shot {
    std::string step;
    std::string screenClass;
    std::string picture;  // file name in the profile's folder
    std::vector<std::string> findings;
    bool operator==(const Shot&) const = default;
  };
  struct Section {
    std::string profile;  // also the folder name under the sheet's folder
    std::vector<Shot> shots;
  };

  // Writes <folder>/<profile>/shots.json; false when it cannot be written.
  static bool writeShots(const std::string& folder, const Section& section);
  // The sections written under the folder, by profile name; a damaged shots.json is skipped.
  static std::vector<Section> readSections(const std::string& folder);
  // The page for the sections.
  static std::string html(const std::vector<Section>& sections);
  // Writes <folder>/index.html from every section under the folder; answers its path, or "" on failure.
  static std::string writeIndex(const std::string& folder);
};
