#include "tools/Preferences/DryRunSession.h"

#include <charconv>
#include <memory>
#include <string>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/NotificationTransport.h"
#include "platform/foundation/PropertyListFile.h"
#include "tools/Preferences/SettingsAppDriver.h"
#include "tools/SpringBoard/core/SettingsAppProtocol.h"

namespace tessra::preferences {

using device::SettingsAppProtocol;
using namespace platform;

namespace {

// Posts of this process go to the home screen as lines of the protocol.
class PipeTransport final : public NotificationTransport {
 public:
  explicit PipeTransport(int out) : out_(out) {}
  void sendDarwin(const std::string& name) override {
    SettingsAppProtocol::writeAll(out_, SettingsAppProtocol::encode("darwin", {name}));
  }
  void sendDistributed(const std::string& name, const plist::Value& userInfo) override {
    auto xml = plist::PropertyListFile::toXml(userInfo.isNull() ? plist::Value(plist::Dictionary{}) : userInfo);
    SettingsAppProtocol::writeAll(out_, SettingsAppProtocol::encode("dist", {name, xml.value_or("")}));
  }

 private:
  int out_;
};

}  // namespace

int DryRunSession::run(const std::vector<std::filesystem::path>& bundles) {
  ManualTaskEnvironment env;
  auto transport = std::make_shared<PipeTransport>(out_);
  DarwinNotificationCenter::shared().setTransport(transport);
  DistributedNotificationCenter::shared().setTransport(transport);
  auto driver = std::make_unique<SettingsAppDriver>(bundles, 375, 667);
  env.runUntilIdle();
  std::string buffer;
  int status = 0;
  while (auto line = SettingsAppProtocol::readLine(in_, buffer)) {
    auto message = SettingsAppProtocol::decode(*line);
    if (!message) {
      Log::write("Preferences: a message it does not understand: " + line->substr(0, 80));
      continue;
    }
    if (message->kind == "quit") break;
    if (message->kind == "darwin" && message->fields.size() == 1) {
      DarwinNotificationCenter::shared().deliverRemote(message->fields[0]);
    } else if (message->kind == "dist" && message->fields.size() == 2) {
      auto info = plist::PropertyListFile::parse(message->fields[1]);
      DistributedNotificationCenter::shared().deliverRemote(message->fields[0],
                                                            info.ok() ? info.value : plist::Value());
    } else if (message->kind == "cmd" && message->fields.size() >= 2) {
      int64_t at = 0;
      const std::string& time = message->fields[0];
      std::from_chars(time.data(), time.data() + time.size(), at);
      Duration ahead = Duration(at) - env.now().time_since_epoch();
      if (ahead > Duration::zero()) env.fastForwardBy(ahead);
      env.runUntilIdle();
      std::vector<std::string> args(message->fields.begin() + 2, message->fields.end());
      auto [result, text] = driver->execute(message->fields[1], args);
      env.runUntilIdle();
      if (!SettingsAppProtocol::writeAll(out_, SettingsAppProtocol::encode("reply", {std::to_string(result), text}))) {
        status = 1;
        break;
      }
      continue;
    } else {
      Log::write("Preferences: a message it does not understand: " + message->kind);
    }
    env.runUntilIdle();
  }
  driver.reset();
  env.runUntilIdle();
  DarwinNotificationCenter::shared().setTransport(nullptr);
  DistributedNotificationCenter::shared().setTransport(nullptr);
  return status;
}

}  // namespace tessra::preferences
