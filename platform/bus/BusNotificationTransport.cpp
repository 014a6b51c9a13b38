#include "platform/bus/BusNotificationTransport.h"

#include <sdbus-c++/sdbus-c++.h>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusNames.h"
#include "platform/bus/BusText.h"
#include "platform/bus/NotificationPayload.h"
#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/Log.h"

namespace platform {

namespace {

std::string matchRule(const char* interface) {
  return std::string("type='signal',path='") + bus::kNotificationPath + "',interface='" + interface + "',member='" +
         bus::kPostSignal + "'";
}

}  // namespace

struct BusNotificationTransport::Live {
  std::string ownName;
  std::unique_ptr<sdbus::IObject> emitter;
  sdbus::Slot darwinMatch;
  sdbus::Slot distributedMatch;
};

BusNotificationTransport::Sink BusNotificationTransport::sharedCenters() {
  return {[](const std::string& name) { DarwinNotificationCenter::shared().deliverRemote(name); },
          [](const std::string& name, const plist::Value& userInfo) {
            DistributedNotificationCenter::shared().deliverRemote(name, userInfo);
          }};
}

BusNotificationTransport::BusNotificationTransport(BusConnection& bus, Sink sink) : bus_(bus), sink_(std::move(sink)) {
  bus_.addClient(*this);
}

BusNotificationTransport::~BusNotificationTransport() { bus_.removeClient(*this); }

void BusNotificationTransport::sendDarwin(const std::string& name) {
  if (auto why = BusText::checkName(name); !why.empty()) {
    drop(name, why);
    return;
  }
  bus_.post([this, name](sdbus::IConnection*) { send(bus::kDarwinInterface, name, nullptr); });
}

void BusNotificationTransport::sendDistributed(const std::string& name, const plist::Value& userInfo) {
  if (auto why = BusText::checkName(name); !why.empty()) {
    drop(name, why);
    return;
  }
  std::string error;
  auto payload = NotificationPayload::encode(userInfo, &error);
  if (!payload) {
    drop(name, error);
    return;
  }
  bus_.post([this, name, payload = std::move(*payload)](sdbus::IConnection*) {
    send(bus::kDistributedInterface, name, &payload);
  });
}

// On the bus thread.
void BusNotificationTransport::send(const char* interface, const std::string& name, const std::string* payload) {
  if (!live_) {
    if (!offline_)
      drop(name, "the device bus is not connected (posts are dropped until it is back)");
    else
      dropped_++;
    offline_ = true;
    return;
  }
  try {
    auto signal = live_->emitter->createSignal(interface, bus::kPostSignal);
    signal << name;
    if (payload) signal << *payload;
    live_->emitter->emitSignal(signal);
  } catch (const std::exception& e) {
    drop(name, e.what());
  }
}

void BusNotificationTransport::attach(sdbus::IConnection& connection) {
  auto live = std::make_unique<Live>();
  live->ownName = connection.getUniqueName();
  live->emitter = sdbus::createObject(connection, bus::kNotificationPath);
  // Handlers run inside sd-bus's C dispatch: nothing may escape them.
  live->darwinMatch = connection.addMatch(matchRule(bus::kDarwinInterface), [this](sdbus::Message& message) {
    try {
      if (message.getSender() == live_->ownName) return;
      std::string name;
      message >> name;
      if (auto why = BusText::checkName(name); !why.empty()) return reject("a Darwin notification: " + why);
      if (sink_.darwin) sink_.darwin(name);
    } catch (const std::exception& e) {
      reject(std::string("a Darwin notification that cannot be read: ") + e.what());
    } catch (...) {
      reject("a Darwin notification that cannot be read");
    }
  });
  live->distributedMatch = connection.addMatch(matchRule(bus::kDistributedInterface), [this](sdbus::Message& message) {
    try {
      if (message.getSender() == live_->ownName) return;
      std::string name;
      std::string payload;
      message >> name >> payload;
      if (auto why = BusText::checkName(name); !why.empty()) return reject("a distributed notification: " + why);
      std::string error;
      auto userInfo = NotificationPayload::decode(payload, &error);
      if (!userInfo) return reject("the user info of distributed notification " + name + ": " + error);
      if (sink_.distributed) sink_.distributed(name, *userInfo);
    } catch (const std::exception& e) {
      reject(std::string("a distributed notification that cannot be read: ") + e.what());
    } catch (...) {
      reject("a distributed notification that cannot be read");
    }
  });
  live_ = std::move(live);
  offline_ = false;
}

void BusNotificationTransport::detach() { live_.reset(); }

void BusNotificationTransport::drop(const std::string& name, const std::string& why) {
  dropped_++;
  Log::write("bus: notification \"" + BusText::sanitized(name.substr(0, 200)) + "\" not sent: " + why);
}

void BusNotificationTransport::reject(const std::string& why) {
  rejected_++;
  Log::write("bus: dropped " + BusText::sanitized(why));
}

}  // namespace platform
