#pragma once

#include <functional>

namespace platform {

// The completion of one animation block (or one explicit animation): runs
// once, on the main loop, after every animation it started has ended;
// `finished` is false when any of them was removed or replaced early.
class AnimationGroup {
 public:
  using Completion = std::function<void(bool finished)>;
  explicit AnimationGroup(Completion completion) : completion_(std::move(completion)) {}
  AnimationGroup(const AnimationGroup&) = delete;
  AnimationGroup& operator=(const AnimationGroup&) = delete;

  // One more animation belongs to the group.
  void add() { ++pending_; }
  // One of its animations ended (finished) or was cut short.
  void oneEnded(bool finished);
  // The block has run: with no animation started, the completion is queued at once.
  void seal();

 private:
  void complete();
  Completion completion_;
  int pending_ = 0;
  bool sealed_ = false;
  bool allFinished_ = true;
  bool done_ = false;
};

}  // namespace platform
