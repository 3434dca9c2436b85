#include "app/tour/ScreenTour.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/tour/ScreenInspector.h"
#include "platform/graphics/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Application.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace {

constexpr std::size_t kScreenTourStepChars = 48;

}  // namespace

ScreenTour::ScreenTour(std::string folder, std::string profile)
    : folder_(std::move(folder)), section_{std::move(profile), {}} {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(folder_) / section_.profile, error);
  // Misses from before the tour belong to no step.
  pf::Image::takeNamedMisses();
}

std::string ScreenTour::pictureName(std::size_t number, const std::string& step) {
  std::string name = (number < 10 ? "0" : "") + std::to_string(number) + "-";
  for (unsigned char c : step.substr(0, kScreenTourStepChars))
    name += std::isalnum(c) || c == '-' || c == '_' ? static_cast<char>(c) : '-';
  return name + ".png";
}

void ScreenTour::shoot(const std::string& step, const std::shared_ptr<pf::ViewController>& screen,
                       const std::shared_ptr<pf::Window>& window) {
  ContactSheet::Shot shot;
  shot.step = step;
  shot.screenClass = screen ? screen->className() : std::string("(no screen)");
  shot.picture = pictureName(section_.shots.size() + 1, step);
  const auto shown = window ? window : pf::Application::sharedApplication().keyWindow();
  pf::HeadlessHost host(shown);
  const std::string path = (std::filesystem::path(folder_) / section_.profile / shot.picture).string();
  if (!shown || !host.writePng(path)) shot.findings.push_back("no picture: no window, or " + path + " not written");
  for (const ScreenFinding& finding : ScreenInspector::inspect(shown, pf::Image::takeNamedMisses()))
    shot.findings.push_back(finding.line());
  for (const std::string& finding : shot.findings)
    lines_.push_back(section_.profile + "  " + step + "  " + shot.screenClass + "  " + finding);
  std::printf("%s %s  %s  %s\n", section_.profile.c_str(), shot.picture.c_str(), shot.screenClass.c_str(),
              shot.findings.empty() ? "ok" : (std::to_string(shot.findings.size()) + " finding(s)").c_str());
  std::fflush(stdout);
  section_.shots.push_back(std::move(shot));
  // A walk that stops half-way still leaves its pictures on the sheet.
  finish();
}

std::string ScreenTour::finish() {
  if (!ContactSheet::writeShots(folder_, section_)) return "";
  return ContactSheet::writeIndex(folder_);
}
