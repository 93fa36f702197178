// Long work inside one entity (the points of a long bulged outline, the
// evaluations of a spline) counted in steps of a few nanoseconds, so that
// the one who runs it hears when it is to end: the run, while drawing (its
// percent-done checks come by work done, and its work is bounded), or a
// limit of its own, while the reading thread works out ahead.
#pragma once

#include <cstdint>

namespace drawport::full {

// What long work counts its steps against.
class StepCounter {
 public:
  // Counts `steps`; false once the work is to end: the caller ends its loop.
  virtual bool count(int64_t steps) = 0;

 protected:
  ~StepCounter() = default;
};

// Steps gathered in the loop and handed on in batches: a step costs the loop
// an add and a compare, the counter is called every kBatch steps. Without a
// counter, nothing ends the work.
class StepBatch {
 public:
  static constexpr int64_t kBatch = 4096;
  explicit StepBatch(StepCounter* counter) : counter_(counter) {}
  StepBatch(const StepBatch&) = delete;
  StepBatch& operator=(const StepBatch&) = delete;

  // Counts `steps`; false once the work is to end.
  bool count(int64_t steps) { return (held_ += steps) < kBatch || handOn(); }
  // Hands on the steps held; false once the work is to end.
  bool handOn() {
    if (ended_) return false;
    const int64_t steps = held_;
    held_ = 0;
    ended_ = counter_ && !counter_->count(steps);
    return !ended_;
  }
  // Whether the counter ended the work.
  bool ended() const { return ended_; }

 private:
  StepCounter* counter_;
  int64_t held_ = 0;
  bool ended_ = false;
};

// A limit of steps of its own, for work that may be given up and done in
// another way: what the reading thread works out ahead of the drawing, one
// curve too long to work out. The steps count against `outer` too, when
// given.
class StepLimit final : public StepCounter {
 public:
  explicit StepLimit(StepCounter* outer = nullptr) : outer_(outer) {}
  // From now on `most` steps.
  void reset(int64_t most) { left_ = most; }
  bool count(int64_t steps) override { return (left_ -= steps) >= 0 && (!outer_ || outer_->count(steps)); }
  // Whether the work went past the limit (not merely ended by `outer`).
  bool passed() const { return left_ < 0; }

 private:
  StepCounter* outer_;
  int64_t left_ = 0;
};

}  // namespace drawport::full
