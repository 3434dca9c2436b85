#pragma once
// One JavaScript heap (duktape) bounded in time and memory, for running a script that came from the
// network. Allocations past the memory limit fail inside the engine (the script gets an error it cannot
// get round); once the time limit has passed, the engine stops the running code with an error at its
// next check, which comes every few hundred thousand instructions, so a loop with no end ends too;
// built-in functions that run long without that check are stopped at their next allocation, and
// regular expressions by the engine's step limit. The clock starts when the heap is made and counts
// everything, name lookups made for the script included.
// The engine's clock (Date) reads the given clock, so date rules can be checked at a chosen instant.
//
// A heap belongs to the thread that made it: use it on that thread only.

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct duk_hthread;

namespace pf {

class ScriptHeap {
 public:
  struct Limits {
    std::chrono::milliseconds time{2000};
    std::size_t memory = 16u << 20;
  };
  // Milliseconds since 1970.
  using Clock = std::function<double()>;

  // The system clock when clock is empty.
  ScriptHeap(Limits limits, Clock clock);
  ~ScriptHeap();
  ScriptHeap(const ScriptHeap&) = delete;
  ScriptHeap& operator=(const ScriptHeap&) = delete;

  // nullptr when the engine could not start (no memory).
  duk_hthread* context() const { return context_; }

  // Runs source as a program; false with the reason when it does not compile or throws.
  bool evaluate(const std::string& source, const std::string& fileName, std::string& failure);
  bool isFunction(const std::string& globalName) const;
  // Calls the global function with text arguments and reads a text answer. nullopt with the reason when
  // there is no such function, it throws or it answers anything but text.
  std::optional<std::string> call(const std::string& function, const std::vector<std::string>& arguments,
                                  std::string& failure);

  bool deadlinePassed() const;
  std::chrono::steady_clock::time_point deadline() const { return deadline_; }
  double now() const;

 private:
  // Whether an allocation of that many more bytes goes past a limit.
  bool refuses(std::size_t more);
  static void* allocate(void* heapData, std::size_t size);
  static void* reallocate(void* heapData, void* block, std::size_t size);
  static void release(void* heapData, void* block);
  static void fatal(void* heapData, const char* message);

  // The engine's error on the stack top, told apart from the limits it may stand for.
  std::string describeError();

  Limits limits_;
  Clock clock_;
  std::chrono::steady_clock::time_point deadline_;
  std::size_t used_ = 0;
  bool refusedMemory_ = false;
  duk_hthread* context_ = nullptr;
};

}  // namespace pf
