#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/springboard/DeviceModel.h"

namespace platform::test {

// A fresh simulated device for each test, on a manual clock.
class DeviceFixture : public ::testing::Test {
 protected:
  void SetUp() override { configure("13.3"); }

  void configure(std::string version, springboard::DeviceKind kind = springboard::DeviceKind::Phone,
                 bool activator = false) {
    springboard::DeviceConfiguration config;
    config.systemVersion = std::move(version);
    config.kind = kind;
    config.activatorInstalled = activator;
    device().configure(config);
  }

  springboard::DeviceModel& device() { return springboard::DeviceModel::shared(); }
  springboard::EventLog& log() { return device().state().eventLog(); }

  ManualTaskEnvironment env_;
};

}  // namespace platform::test
