#include "tests/tools/device/DeviceProcessRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace tessra::device::testing {
namespace {

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

ProcessResult DeviceProcessRunner::run(const std::filesystem::path& program, const std::vector<std::string>& args,
                                       const std::filesystem::path& scratch, std::chrono::milliseconds timeout) {
  static int counter = 0;
  ++counter;
  // Named after this process too: several test programs may share one scratch folder (the temporary one).
  const std::string suffix = std::to_string(getpid()) + "-" + std::to_string(counter);
  std::filesystem::path outPath = scratch / ("out-" + suffix);
  std::filesystem::path errPath = scratch / ("err-" + suffix);
  std::vector<std::string> words{program.string()};
  words.insert(words.end(), args.begin(), args.end());
  // Everything the child needs is made before fork: it only opens, duplicates and executes.
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  pid_t child = fork();
  if (child == 0) {
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int in = open("/dev/null", O_RDONLY);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  ProcessResult result;
  if (child < 0) return result;
  auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (true) {
    pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      status = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (status != -1 && WIFEXITED(status)) result.status = WEXITSTATUS(status);
  result.out = readFile(outPath);
  result.err = readFile(errPath);
  std::error_code ignored;
  std::filesystem::remove(outPath, ignored);
  std::filesystem::remove(errPath, ignored);
  return result;
}

}  // namespace tessra::device::testing
