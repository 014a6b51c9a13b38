// Parsing and writing the plug-in's preference domain (70 settings and a
// store of 200 apps): our whole guarded path (XML read by our own reader with
// the caps checked as it goes; binary pre-checked, then built by our own
// binary reader), and, for comparison, libplist's XML parser alone.

#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <string>

#include "bench/support/SampleToggles.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/platform/plist/BinaryPlistBuilder.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::PropertyListFile;
using platform::plist::Value;

Value makeDomain() {
  Dictionary store;
  for (int i = 0; i < 200; ++i) {
    Dictionary toggles;
    for (int t = 0; t <= i % 8; ++t) toggles.set(bench::kSampleToggles[(t + i) % 18], Value(t % 2));
    Dictionary entry{{"toggles", Value(toggles)}};
    if (i % 2 == 0) entry.set("volume", Value(0.5));
    if (i % 3 == 0) entry.set("brightness", Value(0.25));
    store.set("com.apple.application" + std::to_string(i), Value(entry));
  }
  Dictionary domain;
  for (int i = 0; i < 70; ++i) domain.set("settingNumber" + std::to_string(i) + "OfTheDomain", Value(i % 2 == 0));
  domain.set("customizedApps", Value(store));
  return Value(domain);
}

const std::string& domainXml() {
  static const std::string xml = *PropertyListFile::toXml(makeDomain());
  return xml;
}

const std::string& domainBinary() {
  static const std::string binary = platform::plist::testing::BinaryPlistBuilder::encode(makeDomain());
  return binary;
}

void BM_LibplistAloneXml(benchmark::State& state) {
  const std::string& xml = domainXml();
  for (auto _ : state) {
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    plist_free(root);
  }
  state.counters["file_KB"] = static_cast<double>(xml.size()) / 1024.0;
}
BENCHMARK(BM_LibplistAloneXml)->Unit(benchmark::kMicrosecond);

void BM_ParseXml(benchmark::State& state) {
  const std::string& xml = domainXml();
  for (auto _ : state) benchmark::DoNotOptimize(PropertyListFile::parse(xml));
}
BENCHMARK(BM_ParseXml)->Unit(benchmark::kMicrosecond);

void BM_ParseBinary(benchmark::State& state) {
  const std::string& binary = domainBinary();
  for (auto _ : state) benchmark::DoNotOptimize(PropertyListFile::parse(binary));
  state.counters["file_KB"] = static_cast<double>(binary.size()) / 1024.0;
}
BENCHMARK(BM_ParseBinary)->Unit(benchmark::kMicrosecond);

void BM_WriteXml(benchmark::State& state) {
  const Value domain = makeDomain();
  for (auto _ : state) benchmark::DoNotOptimize(PropertyListFile::toXml(domain));
}
BENCHMARK(BM_WriteXml)->Unit(benchmark::kMicrosecond);

}  // namespace
