#pragma once
// A flag set for the life of a scope and given back its old value after: how a window marks the
// changes it makes itself, so that the notifications they raise are not taken for the user's, and
// how a handler that serves messages knows it was entered again.
namespace trovik {

class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = old_; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace trovik
