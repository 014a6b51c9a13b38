#include "platform/bus/BusConnection.h"

#include <poll.h>
#include <pthread.h>
#include <sdbus-c++/sdbus-c++.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <future>

#include "platform/bus/BusAddress.h"
#include "platform/bus/BusLocation.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"

namespace platform {

namespace {

// At most this many incoming messages are dispatched before queued work gets its turn.
constexpr int kMessagesPerRound = 256;

std::string describe(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown error";
  }
}

TimePoint now() { return SteadyClock().now(); }

}  // namespace

BusConnection::BusConnection(const std::filesystem::path& deviceRoot, ReconnectBackoff backoff)
    : BusConnection([deviceRoot] { return BusLocation::readAddress(deviceRoot); }, backoff) {}

BusConnection::BusConnection(AddressSource source, ReconnectBackoff backoff)
    : address_(std::move(source)), backoff_(backoff) {
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

BusConnection::~BusConnection() {
  stop();
  if (wakeFd_ >= 0) close(wakeFd_);
}

void BusConnection::start() {
  std::thread ended;
  {
    std::lock_guard lock(mutex_);
    if (running_) return;
    ended = std::move(thread_);  // a loop that was stopped from its own callback
  }
  if (ended.joinable()) ended.join();
  std::lock_guard lock(mutex_);
  stopping_ = false;
  running_ = true;
  thread_ = std::thread([this] { threadMain(); });
}

void BusConnection::stop() {
  std::thread thread;
  {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) return;
    stopping_ = true;
    // Asked from one of its own callbacks: the loop ends when the callback returns; the owner joins later.
    if (thread_.get_id() == std::this_thread::get_id()) {
      wake();
      return;
    }
    thread = std::move(thread_);
  }
  wake();
  thread.join();
}

void BusConnection::addClient(BusClient& client) {
  if (onBusThread()) {
    {
      std::lock_guard lock(mutex_);
      clients_.push_back(&client);
    }
    if (!connection_) return;
    try {
      client.attach(*connection_);
      attached_.push_back(&client);
    } catch (...) {
      Log::write("bus: a client could not be set up: " + describe(std::current_exception()));
      client.detach();
    }
    return;
  }
  std::promise<void> done;
  auto finished = done.get_future();
  post([this, &client, &done](sdbus::IConnection* connection) {
    if (connection) {
      addClient(client);  // on the bus thread now
    } else {
      std::lock_guard lock(mutex_);
      clients_.push_back(&client);
    }
    done.set_value();
  });
  finished.wait();
}

void BusConnection::removeClient(BusClient& client) {
  auto remove = [this, &client] {
    if (std::find(attached_.begin(), attached_.end(), &client) != attached_.end()) {
      client.detach();
      std::erase(attached_, &client);
    }
    std::lock_guard lock(mutex_);
    std::erase(clients_, &client);
  };
  if (onBusThread()) {
    remove();
    return;
  }
  std::promise<void> done;
  auto finished = done.get_future();
  post([&](sdbus::IConnection*) {
    remove();
    done.set_value();
  });
  finished.wait();
}

void BusConnection::post(Work work) {
  {
    std::lock_guard lock(mutex_);
    if (running_) {
      work_.push_back(std::move(work));
      work = nullptr;
    }
  }
  if (!work) {
    wake();
    return;
  }
  // No bus thread: nothing is connected, so the work runs here with no connection.
  try {
    work(nullptr);
  } catch (...) {
    Log::write("bus: queued work failed: " + describe(std::current_exception()));
  }
}

bool BusConnection::onBusThread() const {
  std::lock_guard lock(mutex_);
  return threadId_ != std::thread::id() && threadId_ == std::this_thread::get_id();
}

void BusConnection::onReconnected(std::function<void()> callback) {
  std::lock_guard lock(mutex_);
  reconnected_.push_back(std::move(callback));
}

BusConnection::State BusConnection::state() const {
  std::lock_guard lock(mutex_);
  return state_;
}

bool BusConnection::waitFor(State state, Duration timeout) const {
  std::unique_lock lock(mutex_);
  return stateChanged_.wait_for(lock, timeout, [&] { return state_ == state; });
}

std::string BusConnection::uniqueName() const {
  std::lock_guard lock(mutex_);
  return uniqueName_;
}

uint64_t BusConnection::connectionCount() const {
  std::lock_guard lock(mutex_);
  return connections_;
}

void BusConnection::threadMain() {
  {
    std::lock_guard lock(mutex_);
    threadId_ = std::this_thread::get_id();
  }
  pthread_setname_np(pthread_self(), "tessra-bus");
  std::optional<TimePoint> retryAt = now();
  while (!stopping_) {
    if (!connection_ && retryAt && now() >= *retryAt) {
      if (connect()) {
        retryAt.reset();
      } else {
        everLost_ = true;
        retryAt = now() + backoff_.next();
      }
    }
    runWork();
    if (stopping_) break;
    if (connection_ && !serve()) {
      disconnect();
      everLost_ = true;
      retryAt = now() + backoff_.next();
      continue;
    }
    waitForEvents(connection_ ? std::nullopt : retryAt);
  }
  disconnect();
  // Work still queued runs with no connection; the thread is then gone for post().
  for (;;) {
    Work work;
    {
      std::lock_guard lock(mutex_);
      if (work_.empty()) {
        threadId_ = std::thread::id();
        running_ = false;
        break;
      }
      work = std::move(work_.front());
      work_.pop_front();
    }
    try {
      work(nullptr);
    } catch (...) {
      Log::write("bus: queued work failed: " + describe(std::current_exception()));
    }
  }
}

bool BusConnection::connect() {
  std::optional<std::string> address;
  try {
    address = address_ ? address_() : std::nullopt;
  } catch (...) {
    address.reset();
  }
  if (!address) {
    if (!loggedFailure_) Log::write("bus: no device bus address is recorded yet; will keep trying");
    loggedFailure_ = true;
    return false;
  }
  if (!BusAddress::isListening(*address)) {
    if (!loggedFailure_) Log::write("bus: the device bus at " + *address + " does not answer; will keep trying");
    loggedFailure_ = true;
    return false;
  }
  std::string unique;
  try {
    auto connection = sdbus::createSessionBusConnectionWithAddress(*address);
    unique = connection->getUniqueName();  // completes the bus handshake
    connection_ = std::move(connection);
  } catch (...) {
    if (!loggedFailure_)
      Log::write("bus: cannot reach the device bus at " + *address + " (" + describe(std::current_exception()) +
                 "); will keep trying");
    loggedFailure_ = true;
    connection_.reset();
    return false;
  }
  std::vector<BusClient*> clients;
  {
    std::lock_guard lock(mutex_);
    clients = clients_;
  }
  for (BusClient* client : clients) {
    try {
      client->attach(*connection_);
      attached_.push_back(client);
    } catch (...) {
      Log::write("bus: a client could not be set up: " + describe(std::current_exception()));
      client->detach();
    }
  }
  backoff_.reset();
  loggedFailure_ = false;
  if (everLost_) Log::write("bus: connected to the device bus again as " + unique);
  setState(State::Connected, unique);
  if (everLost_) {
    std::vector<std::function<void()>> callbacks;
    {
      std::lock_guard lock(mutex_);
      callbacks = reconnected_;
    }
    for (auto& callback : callbacks) dispatch_async(dispatch_get_main_queue(), callback);
  }
  everLost_ = false;
  return true;
}

void BusConnection::disconnect() {
  if (!connection_) return;
  for (auto it = attached_.rbegin(); it != attached_.rend(); ++it) (*it)->detach();
  attached_.clear();
  try {
    connection_.reset();
  } catch (...) {
    connection_.release();  // a connection that cannot even be closed is abandoned, not fatal
  }
  setState(State::Disconnected, "");
}

bool BusConnection::serve() {
  try {
    for (int i = 0; i < kMessagesPerRound; ++i)
      if (!connection_->processPendingRequest()) break;
    return true;
  } catch (...) {
    Log::write("bus: lost the device bus (" + describe(std::current_exception()) + ")");
    return false;
  }
}

void BusConnection::runWork() {
  for (;;) {
    Work work;
    {
      std::lock_guard lock(mutex_);
      if (work_.empty()) return;
      work = std::move(work_.front());
      work_.pop_front();
    }
    try {
      work(connection_.get());
    } catch (...) {
      Log::write("bus: queued work failed: " + describe(std::current_exception()));
    }
  }
}

void BusConnection::waitForEvents(std::optional<TimePoint> retryAt) {
  pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {-1, 0, 0}};
  int timeout = -1;
  if (connection_) {
    try {
      auto data = connection_->getEventLoopPollData();
      fds[1] = {data.fd, data.events, 0};
      timeout = data.getPollTimeout();
    } catch (...) {
      timeout = 0;  // the next serve() finds out what is wrong with the connection
    }
  } else if (retryAt) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(*retryAt - now()).count();
    timeout = static_cast<int>(std::clamp<long long>(left, 0, 60'000));
  }
  {
    std::lock_guard lock(mutex_);
    if (!work_.empty()) timeout = 0;  // work posted since runWork(): look again at once
  }
  poll(fds, fds[1].fd >= 0 ? 2 : 1, timeout);
  uint64_t count;
  while (read(wakeFd_, &count, sizeof count) > 0) {
  }
}

void BusConnection::wake() {
  uint64_t one = 1;
  ssize_t written = write(wakeFd_, &one, sizeof one);
  (void)written;  // a full counter already means "wake up"
}

void BusConnection::setState(State state, std::string uniqueName) {
  {
    std::lock_guard lock(mutex_);
    state_ = state;
    uniqueName_ = std::move(uniqueName);
    if (state == State::Connected) ++connections_;
  }
  stateChanged_.notify_all();
}

}  // namespace platform
