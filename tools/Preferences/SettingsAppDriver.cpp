#include "tools/Preferences/SettingsAppDriver.h"

#include <dlfcn.h>

#include <cmath>
#include <cstdlib>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/preferences/PSControlTableCell.h"
#include "platform/preferences/UIBarButtonItem.h"
#include "platform/preferences/UINavigationController.h"
#include "platform/preferences/UINavigationItem.h"
#include "platform/preferences/UISegmentedControl.h"
#include "platform/preferences/UISlider.h"
#include "platform/preferences/UISwitch.h"
#include "platform/preferences/UITableView.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tools/Preferences/PreferencesRootPage.h"

namespace tessra::preferences {

using namespace platform;

namespace {

// The bundle's row on the first page: its Info.plist's display name and principal class; its shared object
// is loaded unless that class is already available.
std::optional<PreferencesRootPage::BundleRow> loadBundle(const std::filesystem::path& folder) {
  auto info = plist::PropertyListFile::read(folder / "Info.plist");
  if (!info.ok() || !info.value.isDictionary()) {
    Log::write("Preferences: " + (folder / "Info.plist").string() + " cannot be read; the bundle is not shown");
    return std::nullopt;
  }
  plist::Value principal = info.value["NSPrincipalClass"], executable = info.value["CFBundleExecutable"];
  plist::Value name = info.value["CFBundleDisplayName"];
  if (!principal.isString() || !executable.isString() || executable.string().find('/') != std::string::npos) {
    Log::write("Preferences: " + (folder / "Info.plist").string() + " names no principal class or executable");
    return std::nullopt;
  }
  if (!PSListController::createControllerNamed(principal.string())) {
    auto library = folder / executable.string();
    if (!dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
      const char* why = dlerror();
      Log::write("Preferences: cannot load " + library.string() + ": " + (why ? why : "unknown"));
      return std::nullopt;
    }
  }
  return PreferencesRootPage::BundleRow{name.isString() ? name.string() : folder.stem().string(), principal.string(),
                                        folder};
}

std::string labelText(const UIView& view) {
  if (auto* label = dynamic_cast<const UILabel*>(&view); label && !label->text().empty()) return label->text();
  for (const auto& sub : view.subviews())
    if (auto text = labelText(*sub); !text.empty()) return text;
  return {};
}

}  // namespace

SettingsAppDriver::SettingsAppDriver(std::vector<std::filesystem::path> bundles, double width, double height) {
  std::vector<PreferencesRootPage::BundleRow> rows;
  for (const auto& folder : bundles)
    if (auto row = loadBundle(folder)) rows.push_back(std::move(*row));
  auto root = std::make_shared<PreferencesRootPage>(std::move(rows));
  window_ = std::make_shared<UIWindow>(CGRectMake(0, 0, width, height));
  nav_ = std::make_shared<UINavigationController>(root);
  window_->setRootViewController(nav_);
  window_->makeKeyAndVisible();
  settle();
}

SettingsAppDriver::~SettingsAppDriver() { window_->setRootViewController(nullptr); }

void SettingsAppDriver::settle() { window_->layoutIfNeeded(); }

PSListController* SettingsAppDriver::topPage() const {
  return dynamic_cast<PSListController*>(nav_->topViewController());
}

std::string SettingsAppDriver::pageTitle() const {
  auto* page = nav_->topViewController();
  if (!page) return {};
  auto& item = UINavigationController::navigationItemOf(*page);
  if (!item.title().empty()) return item.title();
  if (item.titleView())
    if (auto text = labelText(*item.titleView()); !text.empty()) return text;
  return page->title();
}

std::shared_ptr<PSSpecifier> SettingsAppDriver::rowTitled(const std::string& title) const {
  auto* page = topPage();
  if (!page) return nullptr;
  for (const auto& rowSpecifier : page->specifiers())
    if (rowSpecifier && rowSpecifier->cellType() != PSCellType::Group && rowSpecifier->name() == title &&
        page->indexPathForSpecifier(*rowSpecifier))
      return rowSpecifier;
  return nullptr;
}

UITableViewCell* SettingsAppDriver::cellOf(const PSSpecifier& row) const {
  auto* page = topPage();
  auto path = page->indexPathForSpecifier(row);
  if (!path) return nullptr;
  page->table()->scrollToRowAtIndexPath(*path);
  return page->table()->cellForRowAtIndexPath(*path);
}

SettingsAppDriver::Result SettingsAppDriver::execute(const std::string& verb, const std::vector<std::string>& args) {
  Result result{kRefused, "unknown command " + verb};
  if (verb == "settings" && args.empty()) {
    while (nav_->viewControllers().size() > 1) nav_->popViewControllerAnimated(false);
    result = tap("Tessra 2");
  } else if (verb == "tap" && args.size() == 1) {
    result = tap(args[0]);
  } else if ((verb == "switch" || verb == "slider" || verb == "segment") && args.size() == 2) {
    result = control(verb, args);
  } else if (verb == "back" && args.empty()) {
    result = nav_->popViewControllerAnimated(true) ? Result{kDone, pageTitle()}
                                                   : Result{kRefused, "the first page has no way back"};
  } else if (verb == "answer" && args.size() == 1) {
    result = answer(args[0]);
  } else if (verb == "page" && args.empty()) {
    result = {kDone, pageTitle()};
  } else if (verb == "expect-page" && args.size() == 1) {
    std::string title = pageTitle();
    result = title == args[0] ? Result{kDone, title} : Result{kExpectFailed, "page is \"" + title + "\""};
  } else if (verb == "expect-row" && args.size() == 2) {
    result = expectRow(args);
  } else if (verb == "expect-rows" && !args.empty()) {
    result = expectRows(args);
  } else if (verb == "frame" && (args.size() == 1 || args.size() == 4)) {
    result = args.size() == 1
                 ? frame(args[0], 0, 0, 1)
                 : frame(args[0], std::atof(args[1].c_str()), std::atof(args[2].c_str()), std::atof(args[3].c_str()));
  } else if (verb == "touch" && args.size() == 3) {
    result = touch(args);
  } else if (verb == "settings" || verb == "tap" || verb == "switch" || verb == "slider" || verb == "segment" ||
             verb == "back" || verb == "answer" || verb == "page" || verb.starts_with("expect-") || verb == "frame" ||
             verb == "touch") {
    result = {kRefused, "wrong number of arguments for " + verb};
  }
  settle();
  return result;
}

SettingsAppDriver::Result SettingsAppDriver::tap(const std::string& title) {
  if (nav_->presentedViewController()) return {kRefused, "an alert is in front"};
  if (auto row = rowTitled(title)) {
    auto* cell = cellOf(*row);
    if (cell && !cell->isUserInteractionEnabled()) return {kRefused, "the row \"" + title + "\" is disabled"};
    auto* page = topPage();
    page->table()->selectRowAsUser(*page->indexPathForSpecifier(*row));
    return {kDone, pageTitle()};
  }
  if (auto* page = nav_->topViewController()) {
    auto& right = UINavigationController::navigationItemOf(*page).rightBarButtonItem();
    if (right && right->title() == title) {
      right->tap();
      return {kDone, pageTitle()};
    }
  }
  return {kRefused, "no row \"" + title + "\" on the page \"" + pageTitle() + "\""};
}

SettingsAppDriver::Result SettingsAppDriver::control(const std::string& verb, const std::vector<std::string>& args) {
  if (nav_->presentedViewController()) return {kRefused, "an alert is in front"};
  auto row = rowTitled(args[0]);
  if (!row) return {kRefused, "no row \"" + args[0] + "\" on the page \"" + pageTitle() + "\""};
  auto* cell = dynamic_cast<PSControlTableCell*>(cellOf(*row));
  if (!cell) return {kRefused, "the row \"" + args[0] + "\" has no control"};
  if (!cell->isUserInteractionEnabled()) return {kRefused, "the row \"" + args[0] + "\" is disabled"};
  if (verb == "switch") {
    auto* sw = dynamic_cast<UISwitch*>(cell->control());
    if (!sw || (args[1] != "on" && args[1] != "off")) return {kRefused, "switch takes a switch row and on or off"};
    if (sw->isOn() != (args[1] == "on")) sw->toggle();
    return {kDone, args[0] + " " + args[1]};
  }
  if (verb == "slider") {
    auto* slider = dynamic_cast<UISlider*>(cell->control());
    char* end = nullptr;
    double value = std::strtod(args[1].c_str(), &end);
    if (!slider || end == args[1].c_str() || *end || value != value)
      return {kRefused, "slider takes a slider row and a number"};
    if (value < slider->minimumValue() || value > slider->maximumValue())
      return {kRefused, "the slider \"" + args[0] + "\" goes from " + std::to_string(slider->minimumValue()) + " to " +
                            std::to_string(slider->maximumValue())};
    slider->setValueFromUser(value);
    return {kDone, args[0] + " " + args[1]};
  }
  auto* segments = dynamic_cast<UISegmentedControl*>(cell->control());
  long index = segments ? segments->indexOfTitle(args[1]) : UISegmentedControl::kNoSegment;
  if (index == UISegmentedControl::kNoSegment)
    return {kRefused, "no segment \"" + args[1] + "\" in \"" + args[0] + "\""};
  segments->selectSegmentFromUser(index);
  return {kDone, args[0] + " " + args[1]};
}

SettingsAppDriver::Result SettingsAppDriver::expectRow(const std::vector<std::string>& args) {
  const std::string& state = args[1];
  if (state != "enabled" && state != "disabled" && state != "absent")
    return {kRefused, "expect row takes enabled, disabled or absent"};
  auto row = rowTitled(args[0]);
  std::string actual = "absent";
  if (row) {
    auto* cell = cellOf(*row);
    actual = cell && !cell->isUserInteractionEnabled() ? "disabled" : "enabled";
  }
  return actual == state ? Result{kDone, actual} : Result{kExpectFailed, "row \"" + args[0] + "\" is " + actual};
}

SettingsAppDriver::Result SettingsAppDriver::expectRows(const std::vector<std::string>& args) {
  auto* page = topPage();
  if (!page) return {kExpectFailed, "no page"};
  for (long section = 0; section < page->table()->numberOfSections(); ++section) {
    auto group = page->groupSpecifierOfSection(section);
    if (!group || group->name() != args[0]) continue;
    std::vector<std::string> titles;
    std::string shown;
    for (long row = 0; row < page->table()->numberOfRowsInSection(section); ++row) {
      titles.push_back(page->specifierAtIndexPath({section, row})->name());
      shown += (shown.empty() ? "\"" : ", \"") + titles.back() + "\"";
    }
    std::vector<std::string> wanted(args.begin() + 1, args.end());
    return titles == wanted ? Result{kDone, shown} : Result{kExpectFailed, "rows of \"" + args[0] + "\" are " + shown};
  }
  return {kExpectFailed, "no section \"" + args[0] + "\" on the page \"" + pageTitle() + "\""};
}

SettingsAppDriver::Result SettingsAppDriver::answer(const std::string& title) {
  auto* alert = dynamic_cast<UIAlertController*>(nav_->presentedViewController().get());
  if (!alert) return {kRefused, "no alert is shown"};
  if (!alert->tapActionWithTitle(title)) return {kRefused, "the alert has no button \"" + title + "\""};
  return {kDone, title};
}

SettingsAppDriver::Result SettingsAppDriver::touch(const std::vector<std::string>& args) {
  char* end = nullptr;
  const long phase = std::strtol(args[0].c_str(), &end, 10);
  if (end == args[0].c_str() || *end || phase < 0 || phase > static_cast<long>(UITouchPhase::Cancelled))
    return {kRefused, "touch takes a phase from 0 to 4"};
  double point[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    point[i] = std::strtod(args[i + 1].c_str(), &end);
    if (end == args[i + 1].c_str() || *end || !std::isfinite(point[i]))
      return {kRefused, "touch takes a point in screen points"};
  }
  const bool taken =
      UIApplication::sharedApplication().sendTouch(static_cast<UITouchPhase>(phase), {point[0], point[1]});
  return {kDone, taken ? "taken" : "not taken"};
}

SettingsAppDriver::Result SettingsAppDriver::frame(const std::string& devicePath, double width, double height,
                                                   double scale) {
  auto path = DevicePaths::resolve(devicePath);
  if (!path) return {kRefused, devicePath + " is not a path inside the device"};
  if (!(scale > 0 && scale <= 4)) return {kRefused, "the scale goes from 0 to 4"};
  // The app takes the screen's size, as it would on rotation or on another device.
  if (width >= 100 && height >= 100 && width <= 4096 && height <= 4096 &&
      (width != window_->bounds().size.width || height != window_->bounds().size.height)) {
    window_->setFrame(CGRectMake(0, 0, width, height));
    settle();
  }
  ViewRenderer renderer;
  auto image = renderer.renderView(*window_, scale);
  std::string error;
  if (!image || !ViewRenderer::writePng(*image, path->string(), &error))
    return {kRefused, "cannot write the frame: " + error};
  return {kDone, devicePath};
}

}  // namespace tessra::preferences
