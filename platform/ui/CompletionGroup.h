#pragma once
// Waits for a set of animations to stop, then runs one block with whether all of them finished.
// The block runs once, on a later turn of the main loop, after close() and the last stop; with no
// animation it runs on the turn after close(). Main thread only.

#include <functional>
#include <memory>

namespace pf {

class Animation;

class CompletionGroup : public std::enable_shared_from_this<CompletionGroup> {
 public:
  using Block = std::function<void(bool finished)>;

  static std::shared_ptr<CompletionGroup> make(Block block);

  // The group waits for this animation too.
  void add(Animation& animation);
  // No more animations join; the block may run.
  void close();
  void setBlock(Block block) { block_ = std::move(block); }

 private:
  explicit CompletionGroup(Block block) : block_(std::move(block)) {}
  void stoppedOne(bool finished);
  void runIfDone();

  Block block_;
  int pending_ = 0;
  bool closed_ = false;
  bool finished_ = true;
  bool ran_ = false;
};

}  // namespace pf
