#include "platform/bus/BusControlClient.h"

#include <sdbus-c++/sdbus-c++.h>

#include <cstdio>

#include "platform/bus/BusAddress.h"
#include "platform/bus/BusLocation.h"
#include "platform/bus/BusText.h"

namespace platform {

namespace {

ControlReply failure(ControlReply::Outcome outcome, std::string error) {
  ControlReply reply;
  reply.outcome = outcome;
  reply.error = std::move(error);
  return reply;
}

// "org.tessra.SpringBoard" -> "SpringBoard": the host as the user knows it.
std::string hostName(const std::string& busName) {
  auto dot = busName.rfind('.');
  return dot == std::string::npos ? busName : busName.substr(dot + 1);
}

std::string formatSeconds(Duration d) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", toSeconds(d));
  return text;
}

}  // namespace

ControlReply BusControlClient::call(const std::filesystem::path& root, const std::string& command,
                                    const std::vector<std::string>& args, Duration timeout,
                                    const std::string& busName) {
  std::string notRunning = "the device at " + root.string() + " is not running (start it with `tessra device start`)";
  auto address = BusLocation::readAddress(root);
  if (!address || !BusAddress::isListening(*address))
    return failure(ControlReply::Outcome::DeviceNotRunning, notRunning);

  bool textOk = BusText::isValid(command);
  for (const auto& arg : args) textOk = textOk && BusText::isValid(arg);
  if (!textOk) return failure(ControlReply::Outcome::Failed, "the command and its arguments must be UTF-8 text");

  std::unique_ptr<sdbus::IConnection> connection;
  try {
    connection = sdbus::createSessionBusConnectionWithAddress(*address);
    connection->getUniqueName();
  } catch (const std::exception&) {
    return failure(ControlReply::Outcome::DeviceNotRunning, notRunning);
  }

  ControlReply reply;
  try {
    auto proxy = sdbus::createProxy(*connection, busName, bus::kControlPath);
    int32_t status = 0;
    proxy->callMethod(bus::kRunMethod)
        .onInterface(bus::kControlInterface)
        .withTimeout(std::chrono::duration_cast<std::chrono::microseconds>(timeout))
        .withArguments(command, args)
        .storeResultsTo(status, reply.output);
    reply.status = status;
    reply.outcome = ControlReply::Outcome::Answered;
  } catch (const sdbus::Error& e) {
    const std::string& name = e.getName();
    if (name == "org.freedesktop.DBus.Error.ServiceUnknown" || name == "org.freedesktop.DBus.Error.NameHasNoOwner")
      return failure(ControlReply::Outcome::HostNotRunning, hostName(busName) + " is not running on the device");
    if (name == "org.freedesktop.DBus.Error.NoReply" || name == "org.freedesktop.DBus.Error.Timeout" ||
        name == "System.Error.ETIMEDOUT")
      return failure(ControlReply::Outcome::NoAnswer,
                     hostName(busName) + " did not answer within " + formatSeconds(timeout) + " s");
    return failure(ControlReply::Outcome::Failed, "the request failed: " + e.getMessage());
  } catch (const std::exception& e) {
    return failure(ControlReply::Outcome::Failed, std::string("the request failed: ") + e.what());
  }
  return reply;
}

}  // namespace platform
