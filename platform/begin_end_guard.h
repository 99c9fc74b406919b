// The one shape of every Begin/End pair the program keeps open for a while:
// an update of a list or a settings object, a hidden caret. The guard calls
// Begin when it is made and End when it goes, on every path out of the
// scope, so that a failure half-way never leaves the pair unbalanced.
//
// End may notify, and a notification may fail. On the normal path that
// failure reaches the caller as any other would. While another exception is
// already on its way up, End still runs, but a failure of its own is dropped:
// the first failure is the one the caller sees, and the program does not end
// with two exceptions in flight.
#pragma once

#include <exception>

namespace platform {

template <class T, void (T::*Begin)(), void (T::*End)()>
class TBeginEndGuard {
 public:
  explicit TBeginEndGuard(T& target) : target_(target) { (target_.*Begin)(); }
  ~TBeginEndGuard() noexcept(false) {
    // The unwinding is asked about only when End has failed: a guard is
    // made around every line an information window takes.
    try {
      (target_.*End)();
    } catch (...) {
      if (std::uncaught_exceptions() > exceptions_) return;
      throw;
    }
  }
  TBeginEndGuard(const TBeginEndGuard&) = delete;
  TBeginEndGuard& operator=(const TBeginEndGuard&) = delete;

 private:
  T& target_;
  // Counted when the guard is made: a guard made during unwinding (in a
  // destructor, say) ends on that unwinding's normal path.
  int exceptions_ = std::uncaught_exceptions();
};

}  // namespace platform
