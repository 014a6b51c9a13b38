#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform {
class PSListController;
class PSSpecifier;
class UINavigationController;
class UITableViewCell;
class UIWindow;
}  // namespace platform

namespace tessra::preferences {

// The Settings app's screen and what scripts and people do with it: a
// window with the navigation stack whose first page lists the loaded
// settings bundles, and the commands that act on the page in front by row
// title — open the Tessra 2 page, tap a row, link or bar button, flip a
// switch, move a slider, pick a segment, go back, answer an alert — or read
// it: its title, a row's state, a section's rows. Each command answers a
// status (0 done, 1 an expectation failed, 2 refused: nothing changed) and a
// message. Main thread only; owns the window and the pages.
class SettingsAppDriver {
 public:
  using Result = std::pair<int, std::string>;
  static constexpr int kDone = 0;
  static constexpr int kExpectFailed = 1;
  static constexpr int kRefused = 2;

  // The Settings app with the bundle folders given (each with its Info.plist naming the principal class).
  SettingsAppDriver(std::vector<std::filesystem::path> bundles, double width, double height);
  ~SettingsAppDriver();
  SettingsAppDriver(const SettingsAppDriver&) = delete;
  SettingsAppDriver& operator=(const SettingsAppDriver&) = delete;

  // Runs one command: "settings", "tap", "switch", "slider", "segment", "back", "answer",
  // "page", "expect-page", "expect-row", "expect-rows", "frame PATH [WIDTH HEIGHT SCALE]" (the screen
  // as a PNG at a device path, the window first resized to WIDTH × HEIGHT points), "touch PHASE X Y" (a finger
  // on the screen, in points; the phase as UITouchPhase).
  Result execute(const std::string& verb, const std::vector<std::string>& args);

  platform::UIWindow& window() const { return *window_; }
  platform::UINavigationController& navigation() const { return *nav_; }
  // The title of the page in front.
  std::string pageTitle() const;

 private:
  platform::PSListController* topPage() const;
  std::shared_ptr<platform::PSSpecifier> rowTitled(const std::string& title) const;
  platform::UITableViewCell* cellOf(const platform::PSSpecifier& row) const;
  Result tap(const std::string& title);
  Result control(const std::string& verb, const std::vector<std::string>& args);
  Result expectRow(const std::vector<std::string>& args);
  Result expectRows(const std::vector<std::string>& args);
  Result answer(const std::string& title);
  Result frame(const std::string& devicePath, double width, double height, double scale);
  Result touch(const std::vector<std::string>& args);
  void settle();

  std::shared_ptr<platform::UIWindow> window_;
  std::shared_ptr<platform::UINavigationController> nav_;
};

}  // namespace tessra::preferences
