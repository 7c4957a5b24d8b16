#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

namespace testing_support {

// Runs a function in a child process that shares the test's folder, for
// paths that end the process; answers its exit code (-1 when it did not exit
// normally, 99 when the function returned).
inline int RunInChild(const std::function<void()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    body();
    std::_Exit(99);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return -1;
  }
  return WEXITSTATUS(status);
}

}  // namespace testing_support
