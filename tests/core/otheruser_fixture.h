// Child processes that run as another user: nobody (65534) when the tests
// run as root (as the CI does), else the user running them.
#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

namespace m8::testing {

inline constexpr uid_t kOtherUser = 65534;  // nobody
inline constexpr gid_t kOtherGroup = 65534;

// The user the child processes of ForkAsOtherUser run as.
inline uid_t OtherUser() { return ::geteuid() == 0 ? kOtherUser : ::geteuid(); }

// Starts `body` in a child process as OtherUser(); the child's exit code is
// what `body` answers (127 when the user could not be switched). The parent
// gets the child's id (-1 when none could be started).
inline pid_t ForkAsOtherUser(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  if (::geteuid() == 0 &&
      (::setgroups(0, nullptr) != 0 || ::setgid(kOtherGroup) != 0 || ::setuid(kOtherUser) != 0)) {
    std::perror("switching to user nobody");
    ::_exit(127);
  }
  ::_exit(body());
}

// Waits for a child of ForkAsOtherUser: its exit code, or a text that says
// how it ended otherwise.
inline std::string ChildEnd(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return "not waited for";
  if (WIFEXITED(status)) return std::to_string(WEXITSTATUS(status));
  return "ended by signal " + std::to_string(WTERMSIG(status));
}

}  // namespace m8::testing
