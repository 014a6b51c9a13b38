// `tessra snapshot FILE.png [--scale N]`: draws a demonstration screen that
// uses every drawing feature of the device (a blur over a picture, a masked
// gradient, shadows, template icons from the plug-in's bundle tinted by their
// buttons, labels that shrink to fit, an alert over everything) and writes it
// as a PNG, so anyone can look at what the renderer does.
#include <cmath>
#include <iostream>
#include <memory>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceBuildProducts.h"
#include "tweak/support/BundleHelper.h"
#include "tweak/support/KelvaneTweakUtils.h"
#include "tweak/vocabulary/ToggleType.h"

namespace tessra::cli {
namespace {

using namespace platform;

// A view drawn by a gradient layer.
class GradientView : public UIView {
 public:
  explicit GradientView(const CGRect& frame) : UIView(frame, std::make_shared<CAGradientLayer>()) {}
  CAGradientLayer& gradient() { return static_cast<CAGradientLayer&>(layer()); }
};

std::shared_ptr<UILabel> makeLabel(const CGRect& frame, std::string text, UIFont font, UIColor color,
                                   NSTextAlignment alignment = NSTextAlignment::Center) {
  auto label = std::make_shared<UILabel>(frame);
  label->setText(std::move(text));
  label->setFont(font);
  label->setTextColor(color);
  label->setTextAlignment(alignment);
  return label;
}

std::shared_ptr<UIView> makeBox(const CGRect& frame, UIColor color, double cornerRadius) {
  auto view = std::make_shared<UIView>(frame);
  view->setBackgroundColor(color);
  view->layer().setCornerRadius(cornerRadius);
  return view;
}

// The home screen behind the panel: a wallpaper, app icons with names, and a blurred dock.
void addHomeScreen(UIView& root, const CGRect& screen) {
  auto wallpaper = std::make_shared<GradientView>(screen);
  wallpaper->gradient().setColors({UIColor(0.05, 0.25, 0.75, 1), UIColor(0.75, 0.2, 0.55, 1), UIColor(1, 0.7, 0.2, 1)});
  wallpaper->gradient().setLocations({0, 0.55, 1});
  wallpaper->gradient().setStartPoint({0, 0});
  wallpaper->gradient().setEndPoint({1, 1});
  root.addSubview(wallpaper);
  // Bright circles give the blur something to smear.
  const UIColor circleColors[] = {UIColor(1, 1, 1, 0.35), UIColor(0.2, 1, 0.8, 0.5), UIColor(1, 0.9, 0.3, 0.55)};
  for (int i = 0; i < 3; ++i) {
    const double side = 160 + 60 * i;
    root.addSubview(makeBox(CGRectMake(-40 + 150 * i, 200 + 170 * i, side, side), circleColors[i], side / 2));
  }
  const char* names[] = {"Maps", "Music", "Photos", "Weather", "Notes", "Camera", "Clock", "Mail",
                         "Safari", "Podcasts", "Books", "Settings"};
  const UIColor tileColors[] = {UIColor(0.2, 0.7, 0.3, 1), UIColor(0.95, 0.25, 0.35, 1), UIColor(1, 0.8, 0.2, 1),
                                UIColor(0.25, 0.6, 1, 1)};
  for (int i = 0; i < 12; ++i) {
    const double x = 27 + (i % 4) * 87, y = 60 + (i / 4) * 96;
    auto tile = makeBox(CGRectMake(x, y, 60, 60), tileColors[i % 4], 14);
    tile->layer().setShadowOpacity(0.3);
    tile->layer().setShadowRadius(4);
    tile->layer().setShadowOffset({0, 2});
    root.addSubview(tile);
    root.addSubview(makeLabel(CGRectMake(x - 10, y + 63, 80, 14), names[i], UIFont::systemFontOfSize(11),
                              UIColor::whiteColor()));
  }
  auto dock = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Light));
  dock->setFrame(CGRectMake(10, screen.size.height - 100, screen.size.width - 20, 90));
  dock->layer().setCornerRadius(30);
  dock->setClipsToBounds(true);
  // Icons drawn sharp over the blurred wallpaper.
  for (int i = 0; i < 4; ++i) {
    auto tile = makeBox(CGRectMake(17 + i * 87, 15, 60, 60), tileColors[(i + 1) % 4], 14);
    dock->contentView()->addSubview(tile);
  }
  root.addSubview(dock);
}

// One round toggle button with its tinted bundle icon and its badge, in a state -1, 0 or 1.
void addToggleButton(UIView& parent, CGPoint center, double side, const std::string& name, int state) {
  auto button = UIButton::buttonWithType(UIButtonType::System);
  button->setFrame(CGRectMake(0, 0, side, side));
  button->setCenter(center);
  button->layer().setCornerRadius(side / 2);
  const double inset = std::min(side / 3.8, 13.0);
  button->setImageEdgeInsets(UIEdgeInsetsMake(inset, inset, inset, inset));
  button->setImage(BundleHelper::getImageWithName(name + "Icon"), UIControlState::Normal);
  if (state == ToggleStateNotCustomized) {
    button->setBackgroundColor(UIColor(0, 0, 0, 0.5));
    button->setTintColor(UIColor::whiteColor());
  } else {
    button->setBackgroundColor(UIColor(1, 1, 1, state == ToggleStateOn ? 1.0 : 0.65));
    button->setTintColor(UIColor::blackColor());
    auto badge = makeLabel(CGRectMake(0, side + 2, side, 12), state == ToggleStateOn ? "On" : "Off",
                           UIFont::systemFontOfSize(11), UIColor::whiteColor());
    badge->setAdjustsFontSizeToFitWidth(true);
    badge->setMinimumScaleFactor(0.5);
    button->addSubview(badge);
  }
  parent.addSubview(button);
}

// A vertical capsule slider: fill from the bottom, icon, percentage.
void addSlider(UIView& parent, CGPoint center, double w, double h, double percent, const std::string& icon) {
  auto slider = makeBox(CGRectMake(0, 0, w, h), UIColor(0, 0, 0, 0.5), w / 2);
  slider->setCenter(center);
  slider->setClipsToBounds(true);
  const double fill = h * percent / 100;
  slider->addSubview(makeBox(CGRectMake(0, h - fill, w, fill), UIColor::whiteColor(), 0));
  const double s = w - 20;
  auto iconView = std::make_shared<UIImageView>(CGRectMake(10, h - s - 10, s, s));
  iconView->setImage(BundleHelper::getImageWithName(icon));
  iconView->setContentMode(UIViewContentMode::ScaleAspectFit);
  iconView->setTintColor(UIColor(0.549, 0.545, 0.545, 0.9));
  slider->addSubview(iconView);
  slider->addSubview(makeLabel(CGRectMake(0, (h - 20) / 2, w, 20), std::to_string(static_cast<int>(percent)) + "%",
                               UIFont::systemFontOfSize(10), UIColor(0.549, 0.545, 0.545, 0.9)));
  parent.addSubview(slider);
  auto remove = UIButton::buttonWithType(UIButtonType::System);
  remove->setFrame(CGRectMake(0, 0, w * 0.55, w * 0.55));
  remove->setCenter({center.x, center.y + h / 2 + 2 + w * 0.55 / 2});
  remove->setImage(BundleHelper::getImageWithName("removeIcon"), UIControlState::Normal);
  remove->setTintColor(UIColor::whiteColor());
  parent.addSubview(remove);
}

// The two-state selector: a gradient seen through the selector's outline, with a shadow under it.
void addSegmentedControl(UIView& parent, CGPoint center) {
  const double w = 170, h = 30, sw = w / 2;
  auto holder = makeBox(CGRectMake(0, 0, w, h), UIColor(0, 0, 0, 0.25), 15);
  holder->setCenter(center);
  auto shadow = std::make_shared<UIView>(CGRectMake(0, 0, w, h));
  shadow->layer().setShadowColor(UIColor(0.2, 0.8, 0.9, 1));
  shadow->layer().setShadowOpacity(0.7);
  shadow->layer().setShadowRadius(7);
  shadow->layer().setShadowOffset({0, 5});
  shadow->layer().setShadowPath(UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, sw, h), 15));
  holder->addSubview(shadow);
  auto gradient = std::make_shared<GradientView>(CGRectMake(0, 0, w, h));
  gradient->gradient().setColors({UIColor(0.2, 0.8, 0.9, 1), UIColor(0.35, 0.45, 1, 1), UIColor(0.8, 0.3, 0.9, 1)});
  gradient->gradient().setStartPoint({0, 0.5});
  gradient->gradient().setEndPoint({1, 0.5});
  auto mask = std::make_shared<CAShapeLayer>();
  mask->setFrame(CGRectMake(0, 0, w, h));
  mask->setPath(UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, sw, h), 15));
  gradient->layer().setMask(mask);
  holder->addSubview(gradient);
  holder->addSubview(makeLabel(CGRectMake(0, 0, sw, h), "Toggles", UIFont::systemFontOfSize(13, UIFontWeight::Medium),
                               UIColor::darkGrayColor()));
  holder->addSubview(makeLabel(CGRectMake(sw, 0, sw, h), "Behaviors", UIFont::systemFontOfSize(13),
                               UIColor(0.845, 0.845, 0.845, 0.9)));
  parent.addSubview(holder);
}

// The customization panel: a dark blurred card holding the ring, the sliders and the texts.
void addPanel(UIView& root, const CGRect& screen) {
  const CGRect cardFrame = CGRectMake(14, 150, screen.size.width - 28, screen.size.height - 270);
  auto card = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Dark));
  card->setFrame(cardFrame);
  card->layer().setCornerRadius(36);
  card->setClipsToBounds(true);
  root.addSubview(card);
  UIView& content = *card->contentView();
  const double W = cardFrame.size.width, H = cardFrame.size.height;

  auto appName = makeLabel(CGRectMake(40, 14, W - 80, 48), "Maps & Navigation",
                           UIFont::systemFontOfSize(40, UIFontWeight::Medium), UIColor(1, 1, 1, 0.98));
  appName->setAdjustsFontSizeToFitWidth(true);
  appName->setMinimumScaleFactor(0.5);
  content.addSubview(appName);

  const double S = std::min(W, H - 170);
  const CGPoint middle{W / 2, 70 + S / 2};
  const auto switches = switchDescriptions();
  const int n = static_cast<int>(switches.size());
  const double side = std::min((S - 80) / (n / 2), 50.0);
  const double radius = (S - side) / 2 - 20;
  for (int i = 0; i < n; ++i) {
    const double angle = 2 * i * M_PI / n - M_PI / 2;
    const int state = i % 3 == 0 ? ToggleStateOn : (i % 3 == 1 ? ToggleStateNotCustomized : ToggleStateOff);
    addToggleButton(content, {middle.x + radius * std::cos(angle), middle.y + radius * std::sin(angle)}, side,
                    std::string(switches[i].name), state);
  }
  const double D = S / 2;
  auto disc = makeBox(CGRectMake(0, 0, D, D), UIColor(0, 0, 0, 0.25), D / 2);
  disc->setCenter(middle);
  content.addSubview(disc);
  addSlider(*disc, {D / 2 - 30, D / 2}, D / 5, D / 1.6, 40, "volumeIcon");
  addSlider(*disc, {D / 2 + 30, D / 2}, D / 5, D / 1.6, 70, "brightnessIcon");

  auto bottom = makeLabel(CGRectMake(40, 70 + S + 4, W - 80, 44),
                          "Enable Wi-Fi when opening Maps & Navigation Companion, and keep it on while it runs",
                          UIFont::systemFontOfSize(15, UIFontWeight::Light), UIColor(1, 1, 1, 0.98));
  bottom->setNumberOfLines(2);
  bottom->setAdjustsFontSizeToFitWidth(true);
  bottom->setMinimumScaleFactor(0.7);
  content.addSubview(bottom);
  addSegmentedControl(content, {W / 2, H - 40});
}

int runSnapshot(const Invocation& invocation) {
  std::ostream& err = *invocation.err;
  std::string file;
  double scale = 2;
  for (size_t i = 0; i < invocation.args.size(); ++i) {
    const std::string& arg = invocation.args[i];
    if (arg == "--scale") {
      if (i + 1 >= invocation.args.size()) {
        err << "tessra snapshot: --scale needs 1, 2 or 3\n";
        return 2;
      }
      const std::string& value = invocation.args[++i];
      if (value != "1" && value != "2" && value != "3") {
        err << "tessra snapshot: --scale must be 1, 2 or 3, not '" << value << "'\n";
        return 2;
      }
      scale = std::stod(value);
    } else if (file.empty() && !arg.starts_with("--")) {
      file = arg;
    } else {
      err << "tessra snapshot: unexpected argument '" << arg << "'\n";
      return 2;
    }
  }
  if (file.empty()) {
    err << "tessra snapshot: name the PNG file to write\n";
    return 2;
  }

  // The bundle images come from --root, else from the build's rendered device files.
  if (!invocation.root.empty()) {
    DevicePaths::setRoot(invocation.root);
  } else if (!BundleHelper::getBundle()) {
    if (auto built = DeviceBuildProducts::deviceFiles()) DevicePaths::setRoot(*built);
  }
  if (!BundleHelper::getBundle())
    err << "tessra snapshot: no bundle images under " << DevicePaths::root().string() << "; icons are left out\n";

  ManualTaskEnvironment environment;
  const CGRect screen = UIScreen::mainScreen().bounds();
  auto home = std::make_shared<UIViewController>();
  auto window = std::make_shared<UIWindow>(screen);
  window->setRootViewController(home);
  window->makeKeyAndVisible();
  home->view()->setBackgroundColor(UIColor::blackColor());
  addHomeScreen(*home->view(), screen);
  addPanel(*home->view(), screen);
  KelvaneTweakUtils::showAlertWithTitle("Tessra", "Restore the previous Wi-Fi state when Maps closes?",
                                        std::vector<std::string>{"Yes", "No"}, nullptr);
  environment.fastForwardBy(seconds(1));  // the alert's presentation runs its course
  for (UIWindow* w : UIApplication::sharedApplication().windows()) w->layoutIfNeeded();

  ViewRenderer::installSnapshotProvider(scale);
  ViewRenderer renderer;
  auto image = renderer.renderScreen(scale);
  std::string error;
  if (!ViewRenderer::writePng(*image, file, &error)) {
    err << "tessra snapshot: " << error << "\n";
    return 1;
  }
  *invocation.out << "wrote " << file << " (" << image->pixelWidth() << " x " << image->pixelHeight() << ")\n";
  return 0;
}

const CommandRegistration registration{
    {"snapshot", "FILE.png [--scale 1|2|3]: draws a demonstration screen of the device's renderer", runSnapshot}};

}  // namespace
}  // namespace tessra::cli
