#pragma once
// A request of the user interface that the system turned down: a window, a timer, a posted
// message. The backend says which request it was; the program puts that into words for the
// user, so that no text the user reads is written below the program.

#include <stdexcept>
#include <string>

namespace varnel::platform {

enum class Refused { Window, Timer, PostedMessage };

class SystemRefusal : public std::runtime_error {
 public:
  // `call` names the system call that failed, for a developer reading what().
  SystemRefusal(Refused request, const char* call)
      : std::runtime_error(std::string(call) + " failed"), request_(request) {}
  Refused Request() const { return request_; }

 private:
  Refused request_;
};

}  // namespace varnel::platform
