#pragma once
// Sets a flag for the lifetime of a scope and puts back what it was, so that a modal dialog
// opened from inside another (the about box from the configuration dialog's entry flow, say)
// does not clear the outer one's flag when it ends.
namespace telvor {

class ScopedFlag {
  public:
    explicit ScopedFlag(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = previous_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& flag_;
    bool previous_;
};

}  // namespace telvor
