#include "tools/Preferences/SettingsDisplay.h"

#include <algorithm>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/TaskEnvironment.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"

namespace tessra::preferences {

SettingsDisplay::SettingsDisplay(platform::BusConnection& bus, platform::RunLoop& mainLoop, platform::UIWindow& window)
    : mainLoop_(mainLoop),
      window_(window),
      frames_(kMaxViewers, "the Settings app already shows its screen to " + std::to_string(kMaxViewers) + " viewers",
              [this](uint64_t viewer, uint32_t sequence, std::vector<platform::FrameRect> changed) {
                server_->sendFrame(viewer, sequence, std::move(changed));
              }) {
  mainLoop_.setTaskObserver([this] { somethingChanged(); }, this);
  server_ = std::make_unique<platform::BusDisplayServer>(bus, mainLoop, *this, this);
}

SettingsDisplay::~SettingsDisplay() {
  server_.reset();
  mainLoop_.setTaskObserver(nullptr);
  mainLoop_.cancelTasksForTarget(this);
}

SettingsDisplay::Attached SettingsDisplay::attachViewer(uint64_t id, double scale) {
  Attached attached = frames_.attach(id, scale == 0 ? 2 : scale, window_.bounds().size);
  if (attached.error.empty()) somethingChanged();
  return attached;
}

void SettingsDisplay::detachViewer(uint64_t id) { frames_.detach(id); }

void SettingsDisplay::frameShown(uint64_t id, uint32_t sequence) { frames_.shown(id, sequence); }

void SettingsDisplay::touch(uint64_t, int phase, double x, double y) {
  platform::UIApplication::sharedApplication().sendTouch(static_cast<platform::UITouchPhase>(phase), {x, y});
}

void SettingsDisplay::key(uint64_t, platform::DisplayKey, bool) {}

void SettingsDisplay::somethingChanged() {
  if (frames_.empty() || scheduled_) return;
  scheduled_ = true;
  const platform::Duration interval = platform::seconds(1.0 / kFramesPerSecond);
  const platform::TimePoint now = platform::TaskEnvironment::current().clock().now();
  const platform::Duration wait = std::max(platform::Duration::zero(), lastDraw_ + interval - now);
  mainLoop_.postDelayed(
      wait, [this] { draw(); }, this);
}

void SettingsDisplay::draw() {
  scheduled_ = false;
  if (frames_.empty()) return;
  lastDraw_ = platform::TaskEnvironment::current().clock().now();
  window_.layoutIfNeeded();
  frames_.drawAndSend(
      [this](platform::ViewRenderer& renderer, double scale) { return renderer.renderView(window_, scale); });
}

}  // namespace tessra::preferences
