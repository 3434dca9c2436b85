#include "platform/media/MoviePlayerController.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/media/Mp4Header.h"
#include "platform/media/MusicPlayerController.h"
#include "platform/ui/Label.h"
#include "tests/platform/foundation/MainLoopTest.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"

namespace {

using pf::MoviePlayerController;
using Bytes = std::vector<unsigned char>;
using State = MoviePlayerController::PlaybackState;

void put(Bytes& out, std::uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A box: its size (or `claimedSize` when lying), type and payload.
Bytes box(const std::string& type, const Bytes& payload, std::optional<std::uint32_t> claimedSize = {}) {
  Bytes out;
  put(out, claimedSize.value_or(static_cast<std::uint32_t>(payload.size() + 8)), 4);
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

Bytes movieHeader(int version, std::uint32_t timescale, std::uint64_t duration) {
  Bytes p;
  put(p, static_cast<std::uint64_t>(version) << 24, 4);  // version and flags
  const int wide = version == 1 ? 8 : 4;
  put(p, 0, wide);  // created
  put(p, 0, wide);  // modified
  put(p, timescale, 4);
  put(p, duration, wide);
  put(p, 0x00010000, 4);  // rate
  p.resize(p.size() + 80, 0);
  return p;
}

Bytes mp4(const Bytes& moovPayload, std::optional<std::uint32_t> moovClaim = {}) {
  Bytes file = box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0});
  const Bytes media = box("mdat", Bytes(64, 0x55));
  file.insert(file.end(), media.begin(), media.end());
  const Bytes movie = box("moov", moovPayload, moovClaim);
  file.insert(file.end(), movie.begin(), movie.end());
  return file;
}

class MoviePlayerTest : public MainLoopTest {
 protected:
  void SetUp() override {
    MainLoopTest::SetUp();
    folder = std::filesystem::temp_directory_path() /
             ("movie-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder);
    MainLoopTest::TearDown();
  }
  std::string write(const std::string& name, const Bytes& bytes) {
    const auto path = (folder / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  void watch(const std::shared_ptr<MoviePlayerController>& player) {
    observation = pf::NotificationCenter::defaultCenter().addObserver(
        "", player.get(), [this](const pf::Notification& n) {
          auto p = n.objectAs<MoviePlayerController>();
          std::string entry =
              n.name.substr(n.name.find("Player") == std::string::npos ? 0 : n.name.find("Player") + 6);
          if (n.name == MoviePlayerController::kPlaybackStateDidChangeNotification) {
            entry += " " + std::to_string(static_cast<int>(p->playbackState()));
          }
          if (n.name == MoviePlayerController::kPlaybackDidFinishNotification) {
            entry +=
                " " +
                std::to_string(
                    n.userInfo.at(MoviePlayerController::kPlaybackDidFinishReasonUserInfoKey).intValue());
          }
          events.push_back(entry);
        });
  }
  void drain() { loop->runUntil(pf::Clock::now()); }
  void runFor(double seconds) { loop->runUntil(pf::Clock::now() + seconds); }

  std::filesystem::path folder;
  pf::NotificationCenter::Observation observation;
  std::vector<std::string> events;
};

TEST_F(MoviePlayerTest, DurationComesFromTheMovieHeaderAndLiesAreRefused) {
  const Bytes goodV0 = box("mvhd", movieHeader(0, 600, 600 * 125));
  const struct {
    const char* name;
    Bytes file;
    std::optional<double> duration;
  } cases[] = {
      {"version 0", mp4(goodV0), 125},
      {"version 1", mp4(box("mvhd", movieHeader(1, 1000, 5500))), 5.5},
      {"header after a track box", mp4([&] {
         Bytes p = box("trak", Bytes(20, 0));
         p.insert(p.end(), goodV0.begin(), goodV0.end());
         return p;
       }()),
       125},
      {"movie box longer than the file", mp4(goodV0, 4000), std::nullopt},
      {"movie box shorter than a header", mp4(goodV0, 4), std::nullopt},
      {"movie header longer than its box", mp4(box("mvhd", movieHeader(0, 600, 600), 500)), std::nullopt},
      {"movie header too short for version 1", mp4(box("mvhd", Bytes{1, 0, 0, 0, 0, 0, 0, 0})), std::nullopt},
      {"no time scale", mp4(box("mvhd", movieHeader(0, 0, 600))), std::nullopt},
      {"no movie box", box("ftyp", {'i', 's', 'o', 'm'}), std::nullopt},
      {"not a box at all", Bytes{'h', 'e', 'l', 'l', 'o'}, std::nullopt},
  };
  for (const auto& c : cases) {
    std::string why;
    EXPECT_EQ(pf::Mp4Header::readDuration(write("movie.mp4", c.file), &why), c.duration) << c.name;
    EXPECT_EQ(why.empty(), c.duration.has_value()) << c.name << ": " << why;
  }
  EXPECT_EQ(pf::Mp4Header::readDuration((folder / "missing.mp4").string()), std::nullopt);
}

TEST_F(MoviePlayerTest, PrepareThenPlayPauseSeekAndEnd) {
  const auto path = write("unit.mp4", mp4(box("mvhd", movieHeader(0, 600, 600 * 125))));
  auto player = std::make_shared<MoviePlayerController>("file://" + path);
  watch(player);
  player->prepareToPlay();
  EXPECT_FALSE(player->isPreparedToPlay());
  drain();
  EXPECT_EQ(events, (std::vector<std::string>{"LoadStateDidChangeNotification",
                                              "MPMovieDurationAvailableNotification",
                                              "MPMediaPlaybackIsPreparedToPlayDidChangeNotification"}));
  EXPECT_EQ(player->duration(), 125);
  EXPECT_EQ(player->playableDuration(), 125);
  EXPECT_EQ(player->loadState(), 3u);
  events.clear();

  player->play();
  runFor(10);
  EXPECT_DOUBLE_EQ(player->currentPlaybackTime(), 10);
  player->pause();
  runFor(30);
  EXPECT_DOUBLE_EQ(player->currentPlaybackTime(), 10);
  EXPECT_EQ(player->playbackState(), State::Paused);

  const struct { double asked, got; } seeks[] = {{100, 100}, {500, 125}, {-5, 0}, {120, 120}};
  for (const auto& s : seeks) {
    player->setCurrentPlaybackTime(s.asked);
    EXPECT_EQ(player->currentPlaybackTime(), s.got);
  }
  player->play();
  runFor(30);                                     // five seconds were left
  EXPECT_EQ(player->currentPlaybackTime(), 125);  // never past the end
  EXPECT_EQ(events, (std::vector<std::string>{
                        "PlaybackStateDidChangeNotification 1", "PlaybackStateDidChangeNotification 2",
                        "PlaybackStateDidChangeNotification 1", "PlaybackStateDidChangeNotification 2",
                        "PlaybackDidFinishNotification 0"}));
  events.clear();
  player->stop();
  EXPECT_EQ(player->currentPlaybackTime(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"PlaybackStateDidChangeNotification 0"}));
}

TEST_F(MoviePlayerTest, SeekingRunsFasterAndBackwardStopsAtTheStart) {
  MoviePlayerController::configureDuration("http://127.0.0.1/unit.mp4", 60);
  auto player = std::make_shared<MoviePlayerController>("http://127.0.0.1/unit.mp4");
  watch(player);
  player->play();  // prepares first
  drain();
  EXPECT_EQ(player->playbackState(), State::Playing);
  runFor(5);
  player->beginSeekingForward();
  runFor(5);
  EXPECT_DOUBLE_EQ(player->currentPlaybackTime(), 5 + 5 * MoviePlayerController::kSeekRate);
  player->beginSeekingBackward();
  runFor(60);
  EXPECT_EQ(player->playbackState(), State::Playing);
  EXPECT_GE(player->currentPlaybackTime(), 0);
  EXPECT_LT(player->currentPlaybackTime(), 60);
  EXPECT_EQ(events.back(), "PlaybackStateDidChangeNotification 1");
  MoviePlayerController::configureDuration("http://127.0.0.1/unit.mp4", 0);
}

TEST_F(MoviePlayerTest, AMovieWithoutALengthEndsInAnError) {
  const auto lying = write("lying.mp4", mp4(box("mvhd", movieHeader(0, 600, 600)), 90000));
  for (const std::string url : {"file://" + lying, std::string("http://127.0.0.1/unknown.mp4")}) {
    auto player = std::make_shared<MoviePlayerController>(url);
    watch(player);
    events.clear();
    player->play();
    loop->runUntilTrue([&] { return !events.empty(); }, 5);  // a stream's header is read off the main thread
    runFor(5);
    EXPECT_EQ(events, (std::vector<std::string>{"PlaybackDidFinishNotification 1"})) << url;
    EXPECT_EQ(player->playbackState(), State::Stopped);
    EXPECT_EQ(player->duration(), 0);
    EXPECT_EQ(player->currentPlaybackTime(), 0);
  }
}

// A header may claim nearly 2^64 seconds (all ones alone means unknown); the player's clock text cast
// that to an integer, which is undefined, so the text now stops at a bound no real movie reaches.
TEST_F(MoviePlayerTest, AMovieOfAbsurdLengthShowsABoundedClock) {
  const auto path = write("endless.mp4", mp4(box("mvhd", movieHeader(1, 1, UINT64_MAX - 1))));
  auto player = std::make_shared<MoviePlayerController>("file://" + path);
  player->prepareToPlay();
  loop->runUntilTrue([&] { return player->isPreparedToPlay(); }, 5);
  EXPECT_EQ(player->duration(), static_cast<double>(UINT64_MAX - 1));
  std::optional<std::string> clock;
  for (const auto& view : player->view()->subviews()) {
    if (auto label = std::dynamic_pointer_cast<pf::Label>(view)) clock = label->text();
  }
  EXPECT_EQ(clock, "\u2016 00:00 / 16666666666666:40");
}

TEST_F(MoviePlayerTest, MusicVolumeStaysBetweenZeroAndOne) {
  auto& music = pf::MusicPlayerController::applicationMusicPlayer();
  const float before = music.volume();
  const struct { float asked, got; } cases[] = {{0.3f, 0.3f}, {1.5f, 1}, {-1, 0}};
  for (const auto& c : cases) {
    music.setVolume(c.asked);
    EXPECT_EQ(music.volume(), c.got);
  }
  music.setVolume(before);
}

}  // namespace

namespace movie_player_stream_test {

// Streams had no length unless configured, so every unit played online failed at once. The length
// now comes from the stream's first bytes; a stream whose movie box follows its media cannot be read
// that way and still fails rather than playing with a made-up length.
TEST_F(MoviePlayerTest, AStreamsLengthComesFromItsFirstBytes) {
  const Bytes header = box("mvhd", movieHeader(0, 600, 600 * 300));
  Bytes fastStart = box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0});
  for (const Bytes& part : {box("moov", header), box("mdat", Bytes(3u << 20, 0x55))})
    fastStart.insert(fastStart.end(), part.begin(), part.end());
  devserver::DevServer server;
  server.route("/fast.mp4", devserver::answers::ranged(std::string(fastStart.begin(), fastStart.end())));
  Bytes mediaFirst = box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0});
  for (const Bytes& part : {box("mdat", Bytes(3u << 20, 0x55)), box("moov", header)})
    mediaFirst.insert(mediaFirst.end(), part.begin(), part.end());
  server.route("/slow.mp4", devserver::answers::ranged(std::string(mediaFirst.begin(), mediaFirst.end())));
  ASSERT_TRUE(server.start());

  auto player = std::make_shared<MoviePlayerController>(server.url("/fast.mp4"));
  watch(player);
  player->play();
  loop->runUntilTrue([&] { return player->playbackState() == State::Playing; }, 10);
  EXPECT_EQ(player->duration(), 300);
  runFor(20);
  EXPECT_NEAR(player->currentPlaybackTime(), 20, 0.01);
  ASSERT_FALSE(server.requests().empty());
  EXPECT_EQ(server.requests().front().header("Range"), "bytes=0-1048575") << "the whole movie was fetched";

  auto late = std::make_shared<MoviePlayerController>(server.url("/slow.mp4"));
  watch(late);
  events.clear();
  late->play();
  loop->runUntilTrue([&] { return !events.empty(); }, 10);
  EXPECT_EQ(events, (std::vector<std::string>{"PlaybackDidFinishNotification 1"}));
  EXPECT_EQ(late->duration(), 0);
}

}  // namespace movie_player_stream_test
