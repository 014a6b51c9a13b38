#include "tools/SpringBoard/host/SettingsAppLink.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/bus/BusControlClient.h"
#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationTransport.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/TaskEnvironment.h"
#include "platform/ui/UIImage.h"
#include "tools/SpringBoard/core/SettingsAppProtocol.h"
#include "tools/SpringBoard/host/SettingsScene.h"

namespace tessra::device {

namespace {

constexpr const char* kBusName = "org.tessra.Preferences";

// The Preferences program beside this host's executable.
std::filesystem::path preferencesProgram() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / "Preferences";
}

}  // namespace

// This process's posts, sent on to the Settings app of a dry run.
class SettingsAppLink::PipeTransport final : public platform::NotificationTransport {
 public:
  explicit PipeTransport(int fd) : fd_(fd) {}
  void sendDarwin(const std::string& name) override {
    if (fd_ >= 0) SettingsAppProtocol::writeAll(fd_, SettingsAppProtocol::encode("darwin", {name}));
  }
  void sendDistributed(const std::string& name, const platform::plist::Value& userInfo) override {
    if (fd_ < 0) return;
    auto xml = platform::plist::PropertyListFile::toXml(
        userInfo.isNull() ? platform::plist::Value(platform::plist::Dictionary{}) : userInfo);
    SettingsAppProtocol::writeAll(fd_, SettingsAppProtocol::encode("dist", {name, xml.value_or("")}));
  }
  void close() { fd_ = -1; }

 private:
  int fd_;
};

SettingsAppLink::SettingsAppLink(Mode mode, std::filesystem::path root, Screen screen)
    : mode_(mode), root_(std::move(root)), screen_(screen) {}

SettingsAppLink::~SettingsAppLink() { stop(); }

bool SettingsAppLink::start() {
  if (isRunning()) return true;
  signal(SIGPIPE, SIG_IGN);
  std::string program = preferencesProgram().string(), root = root_.string();
  std::string width = std::to_string(screen_.width), height = std::to_string(screen_.height);
  int down[2] = {-1, -1}, up[2] = {-1, -1};
  if (mode_ == Mode::Dry && (pipe2(down, O_CLOEXEC) != 0 || pipe2(up, O_CLOEXEC) != 0)) {
    platform::Log::write("SpringBoard: cannot make the pipes of the Settings app");
    return false;
  }
  pid_t parent = getpid();
  pid_t child = fork();
  if (child < 0) {
    platform::Log::write("SpringBoard: cannot start the Settings app");
    return false;
  }
  if (child == 0) {
    // The Settings app does not outlive the home screen that started it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(0);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (mode_ == Mode::Dry) {
      dup2(down[0], 0);
      dup2(up[1], 1);
      execl(program.c_str(), "Preferences", "--root", root.c_str(), "--dry", static_cast<char*>(nullptr));
    } else {
      execl(program.c_str(), "Preferences", "--root", root.c_str(), "--screen", width.c_str(), height.c_str(),
            static_cast<char*>(nullptr));
    }
    _exit(127);
  }
  child_ = child;
  if (mode_ == Mode::Dry) {
    close(down[0]);
    close(up[1]);
    toChild_ = down[1];
    fromChild_ = up[0];
    transport_ = std::make_shared<PipeTransport>(toChild_);
    platform::DarwinNotificationCenter::shared().setTransport(transport_);
    platform::DistributedNotificationCenter::shared().setTransport(transport_);
    return true;
  }
  // Live: the app is there once it answers on the bus.
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto reply = platform::BusControlClient::call(root_, "page", {}, platform::seconds(1), kBusName);
    if (reply.answered()) {
      scene_ = std::make_unique<SettingsScene>(root_, screen_.scale);
      return true;
    }
    if (waitpid(child_, nullptr, WNOHANG) == child_) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  platform::Log::write("SpringBoard: the Settings app did not come up");
  stop();
  return false;
}

void SettingsAppLink::stop() {
  if (!isRunning()) return;
  if (mode_ == Mode::Dry) {
    SettingsAppProtocol::writeAll(toChild_, SettingsAppProtocol::encode("quit", {}));
    transport_->close();
    platform::DarwinNotificationCenter::shared().setTransport(nullptr);
    platform::DistributedNotificationCenter::shared().setTransport(nullptr);
    close(toChild_);
    close(fromChild_);
    toChild_ = fromChild_ = -1;
    buffer_.clear();
  } else {
    scene_.reset();
    kill(child_, SIGTERM);
  }
  waitpid(child_, nullptr, 0);
  child_ = -1;
}

SettingsAppLink::Result SettingsAppLink::execute(const std::string& verb, const std::vector<std::string>& args) {
  if (!isRunning()) return {kStopped, "the Settings app is not running"};
  if (mode_ == Mode::Dry) return executeDry(verb, args);
  auto reply = platform::BusControlClient::call(root_, verb, args, platform::seconds(10), kBusName);
  if (!reply.answered()) return {kStopped, "the Settings app does not answer: " + reply.error};
  return {reply.status, reply.output};
}

std::shared_ptr<platform::UIImage> SettingsAppLink::sceneImage() {
  return scene_ && isRunning() ? scene_->image() : nullptr;
}

bool SettingsAppLink::touchScene(int phase, double x, double y) {
  return scene_ && isRunning() && scene_->touch(phase, x, y);
}

SettingsAppLink::Result SettingsAppLink::executeDry(const std::string& verb, const std::vector<std::string>& args) {
  auto now = platform::TaskEnvironment::current().clock().now().time_since_epoch().count();
  std::vector<std::string> fields{std::to_string(now), verb};
  fields.insert(fields.end(), args.begin(), args.end());
  Result result{kStopped, "the Settings app stopped"};
  if (!SettingsAppProtocol::writeAll(toChild_, SettingsAppProtocol::encode("cmd", fields))) {
    stop();
    return result;
  }
  readUntilReply(result);
  return result;
}

void SettingsAppLink::readUntilReply(Result& result) {
  while (auto line = SettingsAppProtocol::readLine(fromChild_, buffer_)) {
    auto message = SettingsAppProtocol::decode(*line);
    if (!message) continue;
    if (message->kind == "reply" && message->fields.size() == 2) {
      result = {std::atoi(message->fields[0].c_str()), message->fields[1]};
      return;
    }
    if (message->kind == "darwin" && message->fields.size() == 1) {
      platform::DarwinNotificationCenter::shared().deliverRemote(message->fields[0]);
    } else if (message->kind == "dist" && message->fields.size() == 2) {
      auto info = platform::plist::PropertyListFile::parse(message->fields[1]);
      platform::DistributedNotificationCenter::shared().deliverRemote(
          message->fields[0], info.ok() ? info.value : platform::plist::Value());
    }
  }
  stop();  // the Settings app went away in the middle of a command
}

}  // namespace tessra::device
