// How fast, and at what memory cost, the guards refuse bad preference files:
// corrupt, truncated, wrong root, oversized, deeply nested, a binary file whose
// objects reference each other to blow up, a file of tiny elements, and the
// costliest file within the caps that goes wrong only at its very end (all of
// it is parsed first).
// Goal: each refused within 100 ms and 50 MB. Peak memory is measured once per
// case in a fresh process (the growth of its resident-set high-water mark over
// one read) and reported as the counter peak_MB.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/foundation/PropertyListFile.h"
#include "tests/platform/plist/BinaryPlistBuilder.h"

namespace {

namespace fs = std::filesystem;
using platform::plist::PropertyListFile;
using platform::plist::Value;

// A scratch folder, removed when the program ends.
class BenchFolder {
 public:
  BenchFolder() {
    char pattern[] = "/tmp/plist-guard-bench-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~BenchFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

fs::path benchFolder() {
  static BenchFolder folder;
  return folder.path();
}

std::string domainXml() {
  platform::plist::Dictionary apps;
  for (int i = 0; i < 200; ++i)
    apps.set("com.example.application" + std::to_string(i),
             Value(platform::plist::Dictionary{{"toggles", Value(platform::plist::Dictionary{{"wifi", Value(1)}})}}));
  return *PropertyListFile::toXml(Value(platform::plist::Dictionary{{"customizedApps", Value(apps)}}));
}

std::string badFile(int kind) {
  switch (kind) {
    case 0: {  // corrupt: a real domain with bytes overwritten in the middle
      std::string xml = domainXml();
      for (size_t i = xml.size() / 2; i < xml.size() / 2 + 64; ++i) xml[i] = static_cast<char>(i * 7);
      return xml;
    }
    case 1: {  // truncated
      std::string xml = domainXml();
      return xml.substr(0, xml.size() * 3 / 4);
    }
    case 7: {  // corrupt at its very end: the costliest shape within the caps (five dictionaries of
               // nearly 10,000 entries each, 49,000 values), then an unknown element
      std::string xml = "<plist><dict><key>k</key><array>";
      for (int d = 0; d < 5; ++d) {
        xml += "<dict>";
        for (int i = 0; i < (d < 4 ? 9999 : 9000); ++i) xml += "<key>k" + std::to_string(i) + "</key><true/>";
        if (d == 4) xml += "<key>last</key><unknown/>";
        xml += "</dict>";
      }
      return xml + "</array></dict></plist>";
    }
    case 2: {  // wrong root: an array of 40,000 numbers
      std::string xml = "<plist><array>";
      for (int i = 0; i < 40000; ++i) xml += "<integer>" + std::to_string(i) + "</integer>";
      return xml + "</array></plist>";
    }
    case 3: return std::string(64 * 1024 * 1024, 'x');  // oversized
    case 4: {                                           // deeply nested
      std::string xml = "<plist><dict><key>k</key>";
      for (int i = 0; i < 500000; ++i) xml += "<array>";
      return xml;
    }
    case 5: {  // reference bomb: under 200 bytes, 14^9 values once expanded
      platform::plist::testing::BinaryPlistBuilder b;
      for (size_t i = 0; i < 9; ++i) b.addArray(std::vector<size_t>(14, i + 1));
      b.addBool(true);
      size_t root = b.addDictionary({{b.addString("customizedApps"), 0}});
      return b.build(root);
    }
    case 6: {  // 4 MiB of tiny elements
      std::string xml = "<plist><dict><key>k</key><array>";
      while (xml.size() < 4000000) xml += "<true/>";
      return xml + "</array></dict></plist>";
    }
  }
  return {};
}

const char* const kNames[] = {"corrupt",       "truncated",      "wrong_root",    "oversized",
                              "deeply_nested", "reference_bomb", "tiny_elements", "corrupt_at_end"};

// The limits a preference domain's file is read with.
platform::plist::Limits domainLimits() {
  platform::plist::Limits limits;
  limits.dictionaryRoot = true;
  return limits;
}

long statusKilobytes(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::string(field).size(), nullptr, 10);
  return 0;
}

// Run as "PLIST_GUARD_MEASURE=<file> plist_guard": reads the file once in this
// fresh process, prints the growth of its peak resident set in kilobytes, and exits.
const bool kMeasuring = [] {
  const char* path = std::getenv("PLIST_GUARD_MEASURE");
  if (!path) return false;
  long before = statusKilobytes("VmHWM:");
  auto result = PropertyListFile::read(path, domainLimits());
  benchmark::DoNotOptimize(result);
  std::printf("%ld\n", statusKilobytes("VmHWM:") - before);
  std::fflush(stdout);
  ::_exit(0);
}();

// The growth of the peak resident set of a fresh process that reads `path` once, in MB.
double peakMegabytesOfOneRead(const fs::path& path) {
  const std::string self = fs::read_symlink("/proc/self/exe");
  const std::string command = "PLIST_GUARD_MEASURE='" + path.string() + "' '" + self + "'";
  FILE* child = ::popen(command.c_str(), "r");
  if (!child) return -1;
  long growth = -1;
  if (std::fscanf(child, "%ld", &growth) != 1) growth = -1;
  ::pclose(child);
  return static_cast<double>(growth) / 1024.0;
}

void BM_RefuseBadFile(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const fs::path path = benchFolder() / (std::string(kNames[kind]) + ".plist");
  if (kind == 3) {
    { std::ofstream(path) << "x"; }
    fs::resize_file(path, 64 * 1024 * 1024);
  } else {
    std::ofstream(path, std::ios::binary) << badFile(kind);
  }
  for (auto _ : state) {
    auto result = PropertyListFile::read(path, domainLimits());
    if (result.ok()) state.SkipWithError("a bad file was accepted");
    benchmark::DoNotOptimize(result);
  }
  state.counters["peak_MB"] = peakMegabytesOfOneRead(path);
  state.counters["file_KB"] = static_cast<double>(fs::file_size(path)) / 1024.0;
  state.SetLabel(std::string(kNames[kind]) + ": " + PropertyListFile::read(path, domainLimits()).message);
  fs::remove(path);
}
BENCHMARK(BM_RefuseBadFile)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

}  // namespace
