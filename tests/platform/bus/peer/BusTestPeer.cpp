// A second process on a device bus, for the bus tests. It behaves like a
// host: its notification centres are connected through the bus, it keeps a
// setting in memory (loaded from a file, reloaded when told so and after
// every reconnection) and it outlives the bus daemon.
//
//   bus_test_peer <device root> <setting file>
//
// Darwin "peer.ping" -> Darwin "peer.pong"; distributed "peer.echo" -> distributed
// "peer.echoed" with the same user info; Darwin "peer.changed" reloads the
// setting; Darwin "peer.report" -> distributed "peer.setting" {value, reconnects};
// Darwin "peer.quit" ends it. Darwin "peer.ready" is posted once it is on the bus.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/bus/DeviceBus.h"
#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/ThreadedTaskEnvironment.h"

using namespace platform;

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives the test
  alarm(120);
  std::string settingFile = argv[2];
  ThreadedTaskEnvironment env;
  auto& darwin = DarwinNotificationCenter::shared();
  auto& distributed = DistributedNotificationCenter::shared();

  // Main thread only, like a host's preferences.
  std::string setting;
  int64_t reconnects = 0;
  auto reload = [&] {
    std::ifstream in(settingFile);
    setting.assign(std::istreambuf_iterator<char>(in), {});
  };
  reload();

  {
    DeviceBus bus(argv[1], ReconnectBackoff(seconds(0.01), seconds(0.2)));
    bus.onReconnected([&] {
      ++reconnects;
      reload();  // a change notification may have been missed while the bus was away
    });
    darwin.addObserver("peer.ping", [&](const std::string&) { darwin.postNotification("peer.pong"); });
    distributed.addObserver("peer.echo", [&](const std::string&, const plist::Value& info) {
      distributed.postNotification("peer.echoed", info);
    });
    darwin.addObserver("peer.changed", [&](const std::string&) { reload(); });
    darwin.addObserver("peer.report", [&](const std::string&) {
      distributed.postNotification(
          "peer.setting",
          plist::Value(plist::Dictionary{{"value", plist::Value(setting)}, {"reconnects", plist::Value(reconnects)}}));
    });
    darwin.addObserver("peer.quit", [&](const std::string&) { env.mainLoop().quit(); });
    if (!bus.connection().waitFor(BusConnection::State::Connected, seconds(10))) return 3;
    darwin.postNotification("peer.ready");
    env.mainLoop().run();
  }
  return 0;
}
