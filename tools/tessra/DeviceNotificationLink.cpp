#include "tools/tessra/DeviceNotificationLink.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusLocation.h"
#include "platform/bus/BusNotificationTransport.h"
#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/Log.h"

namespace tessra::cli {
namespace {

// How long a post may wait for the device's bus.
platform::Duration g_connectTimeout = platform::seconds(3);
std::atomic<size_t> g_unheardPosts{0};

// Sends one notification to the device at the current root, when its bus runs.
void sendToDevice(const std::string& name, const std::function<void(platform::BusNotificationTransport&)>& send) {
  std::filesystem::path root = platform::DevicePaths::root();
  if (root.empty() || !platform::BusLocation::readAddress(root)) return;
  platform::BusConnection bus(root);
  // Nothing comes back to this process: the sink drops what others post.
  platform::BusNotificationTransport transport(
      bus, platform::BusNotificationTransport::Sink{[](const std::string&) {},
                                                    [](const std::string&, const platform::plist::Value&) {}});
  bus.start();
  if (bus.waitFor(platform::BusConnection::State::Connected, g_connectTimeout)) {
    send(transport);
    // The send is queued for the bus thread; wait until it went out before closing.
    auto sent = std::make_shared<std::promise<void>>();
    std::future<void> done = sent->get_future();
    bus.post([sent](sdbus::IConnection*) { sent->set_value(); });
    done.wait_for(std::chrono::nanoseconds(g_connectTimeout));
  } else {
    ++g_unheardPosts;
    platform::Log::write("tessra: the device bus did not answer; " + name + " reaches only the files");
  }
  bus.stop();
}

// Installs the link before main() runs, so that every command's posts reach the device.
const bool installed = (DeviceNotificationLink::install(), true);

}  // namespace

void DeviceNotificationLink::sendDarwin(const std::string& name) {
  sendToDevice(name, [&](platform::BusNotificationTransport& transport) { transport.sendDarwin(name); });
}

void DeviceNotificationLink::sendDistributed(const std::string& name, const platform::plist::Value& userInfo) {
  sendToDevice(name, [&](platform::BusNotificationTransport& transport) { transport.sendDistributed(name, userInfo); });
}

size_t DeviceNotificationLink::unheardPosts() { return g_unheardPosts; }

void DeviceNotificationLinkTestApi::setConnectTimeout(platform::Duration timeout) { g_connectTimeout = timeout; }

void DeviceNotificationLink::install() {
  auto link = std::make_shared<DeviceNotificationLink>();
  platform::DarwinNotificationCenter::shared().setTransport(link);
  platform::DistributedNotificationCenter::shared().setTransport(link);
}

}  // namespace tessra::cli
