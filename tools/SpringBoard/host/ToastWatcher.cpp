#include "tools/SpringBoard/host/ToastWatcher.h"

#include <algorithm>
#include <cstdio>

#include "platform/foundation/NotificationCenter.h"
#include "platform/springboard/EventLog.h"

namespace tessra::device {
namespace {

std::optional<std::string> textOf(const platform::plist::Value& info, const char* key) {
  const platform::plist::Value* value = info.find(key);
  if (!value || !value->isString()) return std::nullopt;
  return value->string();
}

std::string quotedOrNil(const std::optional<std::string>& text) { return text ? "\"" + *text + "\"" : "nil"; }

bool same(const ToastWatcher::Toast& a, const ToastWatcher::Toast& b) {
  return a.title == b.title && a.message == b.message;
}

// Removes the first toast like `toast`; answers whether there was one.
bool removeOne(std::vector<ToastWatcher::Toast>& toasts, const ToastWatcher::Toast& toast) {
  auto found = std::find_if(toasts.begin(), toasts.end(), [&](const auto& t) { return same(t, toast); });
  if (found == toasts.end()) return false;
  toasts.erase(found);
  return true;
}

size_t countOf(const platform::plist::Value& info, const char* key) {
  const platform::plist::Value* value = info.find(key);
  return value && value->isNumber() && value->integerValue() > 0 ? static_cast<size_t>(value->integerValue()) : 0;
}

}  // namespace

ToastWatcher::ToastWatcher(platform::springboard::EventLog& log) : log_(log) {
  observer_ = platform::NotificationCenter::defaultCenter().addObserver(
      kToastsDidChangeNotification, nullptr, [this](const platform::Notification& notification) {
        const platform::plist::Value& info = notification.userInfo;
        const platform::plist::Value* event = info.find("event");
        if (!event || !event->isString()) return;
        const platform::plist::Value* duration = info.find("duration");
        Toast toast{textOf(info, "title"), textOf(info, "message"),
                    duration && duration->isNumber() ? duration->doubleValue() : 0.0};
        const std::string& what = event->string();
        if (what == "shown") {
          removeOne(queued_, toast);
          visible_.push_back(toast);
          log_.record(describe(toast));
        } else if (what == "hidden") {
          removeOne(visible_, toast);
          log_.record(describe(toast));
        } else if (what == "queued") {
          queued_.push_back(toast);
        } else if (what == "unqueued") {
          removeOne(queued_, toast);
        }
        visibleCount_ = countOf(info, "visible");
        queuedCount_ = countOf(info, "queued");
      });
}

ToastWatcher::~ToastWatcher() { platform::NotificationCenter::defaultCenter().removeObserver(observer_); }

std::vector<ToastWatcher::Toast> ToastWatcher::visibleOrQueued() const {
  std::vector<Toast> all = visible_;
  all.insert(all.end(), queued_.begin(), queued_.end());
  return all;
}

std::string ToastWatcher::describe(const Toast& toast) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1fs", toast.duration);
  return "toast " + quotedOrNil(toast.title) + " " + quotedOrNil(toast.message) + " " + seconds;
}

}  // namespace tessra::device
