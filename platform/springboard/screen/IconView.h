#pragma once

#include <memory>
#include <string>

#include "platform/runtime/TypeEncoding.h"
#include "platform/springboard/screen/ScreenView.h"
#include "platform/ui/UILabel.h"

namespace platform {

class UILabel;

namespace springboard {

class SystemProfile;
struct InstalledApp;

// Who an icon tells about the finger on it, and who carries out the stock
// quick-action items (the home screen).
class IconViewDelegate {
 public:
  virtual ~IconViewDelegate() = default;
  // A tap on the icon of `bundleIdentifier`.
  virtual void iconTapped(const std::string& bundleIdentifier) = 0;
  // A long press on it (0.5 s).
  virtual void iconPressed(const std::string& bundleIdentifier) = 0;
  // The system's own handling of a quick-action item of the app.
  virtual void performStockShortcut(id item, const std::string& bundleIdentifier) = 0;
};

// One app icon of the home screen or the dock (SBIconView): a rounded square
// in the app's colour with its glyph or initial, and the app's name under it
// (hidden in the dock). A tap opens the app, a long press its quick-action
// menu, both through the delegate. Messages its object answers:
//   applicationBundleIdentifier -> string
//   applicationShortcutItems -> ObjectArray of SBSApplicationShortcutItem (the stock items)
//   +activateShortcut:withBundleIdentifier:forIconView: (id item, string, id iconView): the stock handling
class IconView final : public ScreenView {
 public:
  // Whether the name label is shown.
  enum class Label { Shown, Hidden };

  IconView(const InstalledApp& app, double iconSide, Label label, IconViewDelegate& delegate);

  const std::string& bundleIdentifier() const { return bundleIdentifier_; }
  const std::string& displayName() const { return displayName_; }
  // The rounded square, in the icon view's coordinates.
  CGRect iconFrame() const;
  // The size of an icon view for an icon of `iconSide` points.
  static CGSize sizeFor(double iconSide);

  // A picture of the rounded square alone (no name, no touches), as the menu lifts it over its backdrop.
  std::shared_ptr<UIView> makeLiftedCopy() const;
  // The quick-action items of this icon, asked through the runtime (hooks run).
  ObjectArray shortcutItems();

  static void registerClass(const SystemProfile& profile);

 protected:
  void layoutContents() override;

 private:
  std::string bundleIdentifier_;
  std::string displayName_;
  double iconSide_;
  IconViewDelegate& delegate_;
  std::shared_ptr<UIView> tile_;
  std::shared_ptr<UIView> glyph_;
  std::shared_ptr<UILabel> name_;
};

}  // namespace springboard
}  // namespace platform
