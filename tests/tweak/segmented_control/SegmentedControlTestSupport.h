#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tweak/TSSegmentedControl/TSSegmentedControl.h"

// A data source of N titled states ("S0", "S1", ...), optionally with gradient
// colours per state, whose N can change between reloads.
class TitlesDataSource : public TSSegmentedControlDataSource {
 public:
  explicit TitlesDataSource(long count) : count(count) {}
  long numberOfStatesInSegmentedControl(TSSegmentedControl&) override { return count; }
  std::optional<std::string> titleForStateAtIndex(TSSegmentedControl&, long index) override {
    if (!titles) return std::nullopt;
    return "S" + std::to_string(index);
  }
  std::optional<std::vector<platform::UIColor>> gradientColorsForStateAtIndex(TSSegmentedControl&,
                                                                              long index) override {
    if (gradients.empty()) return std::nullopt;
    return gradients[static_cast<size_t>(index) % gradients.size()];
  }
  std::optional<std::vector<platform::UIColor>> gradientColorsForBounce(TSSegmentedControl&,
                                                                        unsigned long side) override {
    if (bounces.empty()) return std::nullopt;
    return bounces[side % bounces.size()];
  }

  long count;
  bool titles = true;
  std::vector<std::vector<platform::UIColor>> gradients;
  std::vector<std::vector<platform::UIColor>> bounces;
};

// Writes every delegate call as a line ("change 0 1", "tap 2", "scroll 75 0.5 0 1", ...).
class RecordingDelegate : public TSSegmentedControlDelegate {
 public:
  void willChangeStateFromStateAtIndex(TSSegmentedControl&, long state) override {
    events.push_back("will " + std::to_string(state));
  }
  void didChangeStateFromStateAtIndex(TSSegmentedControl&, long from, long to) override {
    events.push_back("change " + std::to_string(from) + " " + std::to_string(to));
  }
  void didScrollWithXOffset(TSSegmentedControl&, double x) override { edges.push_back(x); }
  void didScrollWithXOffset(TSSegmentedControl&, double, double percent, long left, long right) override {
    percents.push_back(percent);
    lastLeft = left;
    lastRight = right;
    if (events.empty() || events.back() != "scroll") events.push_back("scroll");
  }
  void didTapAtIndex(TSSegmentedControl&, long index) override { events.push_back("tap " + std::to_string(index)); }
  void setupStateAtIndex(TSSegmentedControl&, long index, platform::UIView&, platform::UIView&, double s) override {
    setups.push_back({index, s});
  }
  void resetStateAtIndex(TSSegmentedControl&, long index, platform::UIView&, platform::UIView&) override {
    resets.push_back(index);
  }
  void clear() {
    events.clear();
    edges.clear();
    percents.clear();
    setups.clear();
    resets.clear();
  }

  std::vector<std::string> events;
  std::vector<double> edges;
  std::vector<double> percents;
  std::vector<std::pair<long, double>> setups;
  std::vector<long> resets;
  long lastLeft = -9, lastRight = -9;
};
