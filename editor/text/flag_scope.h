// Sets a flag for the lifetime of a scope, so that every way out of the
// scope, exceptions included, clears it again.
#pragma once

namespace editor {

class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace editor
