#pragma once
// Runs a read stream on the test thread's run loop the way the engine drives one: one read of at most
// 16 KiB per "bytes available" event, until the end or an error (five seconds at most).

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpReadStream.h"

namespace pf_test {

struct StreamRun {
  std::vector<pf::HttpReadStream::Event> events;
  std::string body;
  pf::ErrorPtr error;
  std::shared_ptr<const pf::HttpMessage> response;
  bool ended = false;

  bool saw(pf::HttpReadStream::Event event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
  }
};

inline void startStream(const std::shared_ptr<pf::HttpReadStream>& stream, StreamRun& run, bool& done,
                        const std::string& mode = pf::RunLoop::kDefaultMode) {
  using Stream = pf::HttpReadStream;
  stream->setClient(
      Stream::kOpenCompleted | Stream::kHasBytesAvailable | Stream::kErrorOccurred | Stream::kEndEncountered,
      [&run, &done, stream = std::weak_ptr<Stream>(stream)](Stream::Event event) {
        auto s = stream.lock();
        run.events.push_back(event);
        if (event == Stream::kHasBytesAvailable) {
          std::uint8_t buffer[16384];
          const long long count = s->read(buffer, sizeof buffer);
          if (count > 0) run.body.append(reinterpret_cast<const char*>(buffer), count);
        } else if (event == Stream::kErrorOccurred) {
          run.error = s->error();
          done = true;
        } else if (event == Stream::kEndEncountered) {
          run.ended = true;
          done = true;
        }
      });
  stream->schedule(pf::RunLoop::current(), mode);
  EXPECT_TRUE(stream->open());
}

inline StreamRun runStream(const std::shared_ptr<pf::HttpReadStream>& stream,
                           const std::string& mode = pf::RunLoop::kDefaultMode) {
  StreamRun run;
  bool done = false;
  startStream(stream, run, done, mode);
  EXPECT_TRUE(pf::RunLoop::current()->runUntilTrue([&] { return done; }, 5.0, mode));
  run.response = stream->responseHeader();
  stream->setClient(0, nullptr);
  return run;
}

}  // namespace pf_test
