#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyListFile.h"

namespace platform::testing {

// A fresh device root per test, the manual task environment, and the log captured.
class PrefsTest : public ::testing::Test {
 protected:
  static constexpr const char* kDomain = "com.kelvane.tessra2";

  void SetUp() override {
    char pattern[] = "/tmp/prefs-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    DevicePaths::setRoot(root_);
    previousSink_ = Log::setSink([this](const std::string& line) { log_.push_back(line); });
  }
  void TearDown() override {
    Log::setSink(previousSink_);
    std::filesystem::remove_all(root_);
  }

  std::filesystem::path domainFile(const std::string& domain = kDomain) const {
    return DevicePaths::preferencesFile(domain);
  }
  std::filesystem::path folder() const { return domainFile().parent_path(); }
  void putFile(const std::string& bytes, const std::string& domain = kDomain) const {
    std::filesystem::create_directories(domainFile(domain).parent_path());
    std::ofstream(domainFile(domain), std::ios::binary) << bytes;
  }
  void putValue(const plist::Value& root, const std::string& domain = kDomain) const {
    std::filesystem::create_directories(domainFile(domain).parent_path());
    ASSERT_TRUE(plist::PropertyListFile::write(domainFile(domain), root));
  }
  static std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  plist::Value onDisk(const std::string& domain = kDomain) const {
    auto read = plist::PropertyListFile::read(domainFile(domain));
    EXPECT_TRUE(read.ok()) << read.message;
    return read.value;
  }
  // Files kept aside for the domain.
  std::vector<std::filesystem::path> keptAside() const {
    std::vector<std::filesystem::path> found;
    if (!std::filesystem::exists(folder())) return found;
    for (const auto& e : std::filesystem::directory_iterator(folder()))
      if (e.path().filename().string().starts_with(std::string(kDomain) + ".plist.bad-")) found.push_back(e.path());
    return found;
  }
  size_t logLinesContaining(const std::string& text) const {
    size_t n = 0;
    for (const auto& line : log_)
      if (line.find(text) != std::string::npos) ++n;
    return n;
  }

  ManualTaskEnvironment env_;
  std::filesystem::path root_;
  std::vector<std::string> log_;
  Log::Sink previousSink_;
};

// Files may not grow past `bytes` while alive: writes fail as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = saved_;
    tiny.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &tiny);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  struct rlimit saved_ {};
  sighandler_t previous_;
};

}  // namespace platform::testing
