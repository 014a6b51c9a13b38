#include "platform/bus/BusControlServer.h"

#include <sdbus-c++/sdbus-c++.h>

#include <cstdint>
#include <unordered_map>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusNames.h"
#include "platform/bus/BusText.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"

namespace platform {

namespace {

// Exit statuses in the sysexits tradition: a request refused, a handler that failed.
constexpr int kStatusBadRequest = 64;
constexpr int kStatusFailed = 70;

using Reply = sdbus::Result<int32_t, std::string>;

std::string fitOutput(std::string output) {
  if (output.size() > BusControlServer::kMaxOutputBytes) {
    output.resize(BusControlServer::kMaxOutputBytes);
    output += "\n... (output cut at " + std::to_string(BusControlServer::kMaxOutputBytes) + " bytes)";
  }
  // D-Bus carries UTF-8 text only: stray bytes (a log line cut mid-character) are replaced.
  return BusText::isValid(output) ? output : BusText::sanitized(output);
}

}  // namespace

struct BusControlServer::Core {
  BusConnection* bus = nullptr;
  std::string busName;
  Handler handler;
  // Bus thread only: requests waiting for the main queue's answer.
  uint64_t nextId = 1;
  std::unordered_map<uint64_t, Reply> pending;
};

struct BusControlServer::Live {
  std::unique_ptr<sdbus::IObject> object;
};

BusControlServer::BusControlServer(BusConnection& bus, std::string busName, Handler handler)
    : bus_(bus), core_(std::make_shared<Core>()) {
  core_->bus = &bus;
  core_->busName = std::move(busName);
  core_->handler = std::move(handler);
  bus_.addClient(*this);
}

BusControlServer::~BusControlServer() { bus_.removeClient(*this); }

void BusControlServer::attach(sdbus::IConnection& connection) {
  auto live = std::make_unique<Live>();
  live->object = sdbus::createObject(connection, bus::kControlPath);
  std::weak_ptr<Core> weak = core_;
  live->object->registerMethod(bus::kRunMethod)
      .onInterface(bus::kControlInterface)
      .implementedAs([weak](Reply&& reply, std::string command, std::vector<std::string> args) {
        // Runs inside sd-bus's C dispatch: nothing may escape.
        try {
          auto core = weak.lock();
          if (!core) return reply.returnError(sdbus::Error("org.tessra.Error.Gone", "the host is shutting down"));
          size_t bytes = command.size();
          for (const auto& arg : args) bytes += arg.size();
          if (args.size() > kMaxArgs || bytes > kMaxRequestBytes)
            return reply.returnResults(kStatusBadRequest, "the request is too large");
          uint64_t id = core->nextId++;
          core->pending.emplace(id, std::move(reply));
          dispatch_async(dispatch_get_main_queue(), [weak, id, command = std::move(command), args = std::move(args)] {
            auto core = weak.lock();
            if (!core) return;
            Result answer;
            try {
              answer = core->handler ? core->handler(command, args) : Result{kStatusFailed, "no handler"};
            } catch (const std::exception& e) {
              answer = {kStatusFailed, std::string("the command failed: ") + e.what()};
            } catch (...) {
              answer = {kStatusFailed, "the command failed"};
            }
            core->bus->post([weak, id, answer = std::move(answer)](sdbus::IConnection*) mutable {
              auto core = weak.lock();
              if (!core) return;
              auto it = core->pending.find(id);
              if (it == core->pending.end()) return;  // its connection is gone
              Reply reply = std::move(it->second);
              core->pending.erase(it);
              try {
                reply.returnResults(answer.first, fitOutput(std::move(answer.second)));
              } catch (const std::exception& e) {
                Log::write(std::string("bus: could not answer a control request: ") + e.what());
              }
            });
          });
        } catch (const std::exception& e) {
          Log::write(std::string("bus: a control request failed: ") + e.what());
        } catch (...) {
          Log::write("bus: a control request failed");
        }
      })
      .withInputParamNames("command", "args")
      .withOutputParamNames("status", "output");
  live->object->finishRegistration();
  live_ = std::move(live);
  // The name last, so that whoever sees it finds the object in place.
  connection.requestName(core_->busName);
}

void BusControlServer::detach() {
  core_->pending.clear();
  live_.reset();
}

}  // namespace platform
