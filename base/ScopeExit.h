#pragma once
// Runs a step when the scope ends, however it ends: a return, an exception, the end of the
// block. For flags that must never stay set ("busy", "showing") and for undoing a change.

#include <utility>

namespace varnel {

template <class Action>
class ScopeExit {
 public:
  explicit ScopeExit(Action action) : action_(std::move(action)) {}
  ~ScopeExit() { action_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Action action_;
};

// Sets `flag` for the life of the scope and clears it at the end.
inline auto RaiseForScope(bool& flag) {
  flag = true;
  return ScopeExit([&flag] { flag = false; });
}

}  // namespace varnel
