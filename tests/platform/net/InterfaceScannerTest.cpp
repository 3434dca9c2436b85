#include "platform/net/InterfaceScanner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "platform/net/InterfaceReachability.h"

namespace pf {
namespace {

namespace fs = std::filesystem;
using Kind = NetworkInterface::Kind;

// A small stand-in for /sys/class/net.
class FakeSysfsTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("marlune-sysfs-" + std::to_string(getpid()));
    fs::remove_all(root_);
    addInterface("lo", 1, "0x9", "00:00:00:00:00:00");
    addInterface("ifb0", 2, "0x1082", "0e:fd:40:0a:14:13");
    addInterface("eth0", 3, "0x1003", "02:fc:00:00:00:01");
    addInterface("tun0", 4, "0x1091", "");
    addInterface("wlan0", 5, "0x1003", "a4:5e:60:c1:22:0f");
    fs::create_directories(root_ / "wlan0" / "wireless");
    addInterface("wwan0", 6, "0x1003", "12:34:56:78:9a:bc");
    write("wwan0", "uevent", "INTERFACE=wwan0\nIFINDEX=6\nDEVTYPE=wwan\n");
  }
  void TearDown() override { fs::remove_all(root_); }

  void addInterface(const std::string& name, int index, const std::string& flags,
                    const std::string& address) {
    fs::create_directories(root_ / name);
    write(name, "ifindex", std::to_string(index) + "\n");
    write(name, "flags", flags + "\n");
    write(name, "address", address + "\n");
    write(name, "uevent", "INTERFACE=" + name + "\n");
  }
  void write(const std::string& name, const std::string& file, const std::string& text) {
    std::ofstream(root_ / name / file) << text;
  }

  fs::path root_;
};

TEST_F(FakeSysfsTest, ClassifiesLinks) {
  InterfaceScanner scanner(root_.string());
  EXPECT_EQ(scanner.kindOf("wlan0", false), Kind::Wireless);
  EXPECT_EQ(scanner.kindOf("wwan0", false), Kind::Wwan);
  EXPECT_EQ(scanner.kindOf("eth0", false), Kind::Wired);
  EXPECT_EQ(scanner.kindOf("eth0:1", false), Kind::Wired);
  EXPECT_EQ(scanner.kindOf("lo", true), Kind::Loopback);
}

TEST_F(FakeSysfsTest, ReadsHardwareAddresses) {
  InterfaceScanner scanner(root_.string());
  EXPECT_EQ(scanner.hardwareAddress("wlan0"), "a4:5e:60:c1:22:0f");
  EXPECT_EQ(scanner.hardwareAddress("lo"), std::nullopt);
  EXPECT_EQ(scanner.hardwareAddress("tun0"), std::nullopt);
  EXPECT_EQ(scanner.hardwareAddress("absent"), std::nullopt);
  EXPECT_EQ(scanner.hardwareAddress("../eth0"), std::nullopt);
  // ifb0 comes first by index but is down.
  EXPECT_EQ(scanner.defaultHardwareInterface(), "eth0");
  write("eth0", "flags", "0x1002\n");
  write("wlan0", "flags", "0x1002\n");
  write("wwan0", "flags", "0x1002\n");
  EXPECT_EQ(scanner.defaultHardwareInterface(), "ifb0");
}

TEST(SystemInterfacesTest, AnswersForThisMachine) {
  InterfaceScanner scanner;
  std::vector<NetworkInterface> interfaces = scanner.interfaces();
  bool onlyLoopback = std::none_of(interfaces.begin(), interfaces.end(), [](const NetworkInterface& i) {
    return i.running && i.kind != Kind::Loopback;
  });
  if (onlyLoopback) {
    EXPECT_EQ(InterfaceReachability::flags(ReachabilityTarget::hostName("example.org"), interfaces), 0u);
  }
  bool hasHardware = false;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/sys/class/net", error)) {
    hasHardware = hasHardware || scanner.hardwareAddress(entry.path().filename().string()).has_value();
  }
  std::optional<std::string> name = scanner.defaultHardwareInterface();
  EXPECT_EQ(name.has_value(), hasHardware);
  if (name) {
    std::optional<std::string> address = scanner.hardwareAddress(*name);
    ASSERT_TRUE(address);
    EXPECT_TRUE(std::regex_match(*address, std::regex("([0-9a-f]{2}:){5}[0-9a-f]{2}"))) << *address;
  }
}

}  // namespace
}  // namespace pf
