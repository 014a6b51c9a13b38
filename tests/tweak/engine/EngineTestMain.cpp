// Every case of the engine's tests runs in a process of its own, as on a
// freshly started home screen: the case's test home screen is built first,
// then the real Tessra2.dylib is loaded once and its load-time routines start
// it there. The plug-in offers no way to start again, so this main() runs
// each selected case in a child process and reports what failed.
#include <fnmatch.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Whether `name` matches one of the ':'-separated patterns of `patterns`.
bool matchesAny(std::string_view patterns, const std::string& name) {
  while (true) {
    const size_t end = patterns.find(':');
    const std::string pattern(patterns.substr(0, end));
    if (!pattern.empty() && fnmatch(pattern.c_str(), name.c_str(), 0) == 0) return true;
    if (end == std::string_view::npos) return false;
    patterns.remove_prefix(end + 1);
  }
}

// Whether `name` is selected by a gtest filter ("positive[-negative]").
bool selected(std::string_view filter, const std::string& name) {
  const size_t dash = filter.find('-');
  std::string_view positive = filter.substr(0, dash);
  if (positive.empty()) positive = "*";
  const std::string_view negative = dash == std::string_view::npos ? std::string_view() : filter.substr(dash + 1);
  return matchesAny(positive, name) && !matchesAny(negative, name);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  const std::string filter = GTEST_FLAG_GET(filter);
  std::vector<std::string> names;
  const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
  for (int s = 0; s < unit.total_test_suite_count(); ++s) {
    const ::testing::TestSuite& suite = *unit.GetTestSuite(s);
    for (int t = 0; t < suite.total_test_count(); ++t) {
      const std::string name = std::string(suite.name()) + "." + suite.GetTestInfo(t)->name();
      if (selected(filter, name)) names.push_back(name);
    }
  }

  std::vector<std::string> failed;
  for (const std::string& name : names) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
      std::perror("fork");
      return 1;
    }
    if (child == 0) {
      GTEST_FLAG_SET(filter, name);
      std::_Exit(RUN_ALL_TESTS() == 0 ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) failed.push_back(name);
  }
  std::printf("[==========] %zu cases, each in a process of its own; %zu failed\n", names.size(), failed.size());
  for (const std::string& name : failed) std::printf("[  FAILED  ] %s\n", name.c_str());
  return failed.empty() ? 0 : 1;
}
