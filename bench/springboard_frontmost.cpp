// The home screen's side of the plug-in's frontmost check, asked on every
// process-state change: SpringBoard's answer through one hooked method, the
// process visibility of Siri and Spotlight (whose application objects live as
// long as the home screen, so a caller keeps them), and the front app's bundle
// identifier. With nothing changed the whole check must stay well under 200 ns.
// Looking an application up by bundle identifier is measured on its own.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "platform/springboard/DeviceModel.h"

namespace {

using namespace platform;

id (*previousFrontmost)(id, SEL) = nullptr;
id lastForeground = nullptr;
std::string currentBundleId;

id appNamed(const std::string& bundle) {
  static ClassHandle controllerClass("SBApplicationController");
  id controller = msgSend<id>(controllerClass.get(), SELECTOR("sharedInstance"));
  return msgSend<id, std::string>(controller, SELECTOR("applicationWithBundleIdentifier:"), bundle);
}

id overlays[2] = {nullptr, nullptr};

id frontmostCheck(id self, SEL cmd) {
  id answer = previousFrontmost(self, cmd);
  id candidate = nullptr;
  for (id app : overlays) {
    if (msgSend<long>(msgSend<id>(app, SELECTOR("processState")), SELECTOR("visibility")) == 2) candidate = app;
  }
  id arriving = candidate ? candidate : answer;
  currentBundleId = msgSend<std::string>(arriving, SELECTOR("bundleIdentifier"));
  if (arriving != lastForeground) lastForeground = arriving;
  return answer;
}

void BM_FrontmostCheckUnchanged(benchmark::State& state) {
  ManualTaskEnvironment env;
  springboard::DeviceModel& device = springboard::DeviceModel::shared();
  device.configure({});
  MSHookMessageEx(objc_getClass("SpringBoard"), SELECTOR("_accessibilityFrontMostApplication"), &frontmostCheck,
                  &previousFrontmost);
  overlays[0] = appNamed("com.apple.siri");
  overlays[1] = appNamed("com.apple.Spotlight");
  device.openApp("com.spotify.client");
  device.showSiri();
  device.dismissSiri();
  id springBoard = msgSend<id>(objc_getClass("UIApplication"), SELECTOR("sharedApplication"));
  for (auto _ : state) {
    benchmark::DoNotOptimize(msgSend<id>(springBoard, SELECTOR("_accessibilityFrontMostApplication")));
  }
}
BENCHMARK(BM_FrontmostCheckUnchanged);

void BM_SystemFrontmostAnswer(benchmark::State& state) {
  ManualTaskEnvironment env;
  springboard::DeviceModel& device = springboard::DeviceModel::shared();
  device.configure({});
  device.openApp("com.spotify.client");
  id springBoard = msgSend<id>(objc_getClass("UIApplication"), SELECTOR("sharedApplication"));
  for (auto _ : state) {
    benchmark::DoNotOptimize(msgSend<id>(springBoard, SELECTOR("_accessibilityFrontMostApplication")));
  }
}
BENCHMARK(BM_SystemFrontmostAnswer);

void BM_ApplicationByBundleIdentifier(benchmark::State& state) {
  ManualTaskEnvironment env;
  springboard::DeviceModel::shared().configure({});
  const std::string bundle = "com.apple.Spotlight";
  for (auto _ : state) benchmark::DoNotOptimize(appNamed(bundle));
}
BENCHMARK(BM_ApplicationByBundleIdentifier);

}  // namespace
