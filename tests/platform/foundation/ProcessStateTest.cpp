// Whether a process still runs: an ended one is gone even before its parent
// reaps it, and waiting for one ends when it does.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/foundation/ProcessState.h"

namespace platform {
namespace {

TEST(ProcessStateTest, AnEndedProcessThatWasNotReapedIsNotRunning) {
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  pid_t child = ::fork();
  if (child == 0) {
    char c;
    ::close(gate[1]);
    while (::read(gate[0], &c, 1) < 0) {
    }
    ::_exit(0);
  }
  ::close(gate[0]);
  EXPECT_TRUE(ProcessState::isRunning(child));
  ::close(gate[1]);
  // Not reaped here: it stays a zombie until waitpid.
  siginfo_t info{};
  ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
  EXPECT_EQ(::kill(child, 0), 0);  // still there for kill()
  EXPECT_FALSE(ProcessState::isRunning(child));
  EXPECT_TRUE(ProcessState::waitUntilEnded(child, seconds(1)));
  EXPECT_EQ(::waitpid(child, nullptr, WNOHANG), -1);  // reaped by the wait, as a child of this process
}

TEST(ProcessStateTest, WaitingForARunningProcessGivesUpAtTheTimeout) {
  pid_t child = ::fork();
  if (child == 0) {
    ::pause();
    ::_exit(0);
  }
  EXPECT_FALSE(ProcessState::waitUntilEnded(child, seconds(0.03)));
  ::kill(child, SIGKILL);
  EXPECT_TRUE(ProcessState::waitUntilEnded(child, seconds(5)));
  EXPECT_FALSE(ProcessState::isRunning(child));
  EXPECT_FALSE(ProcessState::isRunning(0));
}

}  // namespace
}  // namespace platform
