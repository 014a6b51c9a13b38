#include "tools/tessra/ComponentGallery.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyList.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tweak/TSSegmentedControl/TSSegmentedControl.h"
#include "tweak/panel/TSCustomizedThingsView.h"
#include "tweak/store/TessraStorageManager.h"

namespace tessra::cli {
namespace {

using namespace platform;
namespace fs = std::filesystem;
namespace plist = platform::plist;

// Titles, and gradient colours when asked for.
class GallerySource : public TSSegmentedControlDataSource {
 public:
  explicit GallerySource(std::vector<std::string> titles, bool gradient = false)
      : titles_(std::move(titles)), gradient_(gradient) {}
  long numberOfStatesInSegmentedControl(TSSegmentedControl&) override { return static_cast<long>(titles_.size()); }
  std::optional<std::string> titleForStateAtIndex(TSSegmentedControl&, long index) override {
    if (index < 0 || index >= static_cast<long>(titles_.size())) return std::nullopt;
    return titles_[static_cast<size_t>(index)];
  }
  std::optional<std::vector<UIColor>> gradientColorsForStateAtIndex(TSSegmentedControl&, long index) override {
    if (!gradient_) return std::nullopt;
    static const std::vector<std::vector<UIColor>> groups = {
        {UIColor(0.15, 0.8, 0.95, 1), UIColor(0.25, 0.45, 1, 1)},
        {UIColor(0.6, 0.3, 0.95, 1), UIColor(0.95, 0.3, 0.65, 1)},
        {UIColor(1, 0.55, 0.15, 1), UIColor(1, 0.85, 0.2, 1)},
    };
    return groups[static_cast<size_t>(index) % groups.size()];
  }

 private:
  std::vector<std::string> titles_;
  bool gradient_;
};

// Where the selector is drawn: at rest on a state, or at an offset in slots from state 0's offset.
struct Position {
  enum class Kind { Rest, Between, PastFirst, PastLast } kind = Kind::Rest;
  long state = 0;
  double amount = 0;  // Between: percent; PastFirst / PastLast: slots beyond the end
};

Position rest(long state) { return {Position::Kind::Rest, state, 0}; }
Position between(double percent) { return {Position::Kind::Between, 0, percent}; }

const UIColor kLightBackdrop(0.80, 0.82, 0.86, 1);
const UIColor kDarkBackdrop(0.11, 0.11, 0.13, 1);

// The panel's configuration of its segmented control in the light or dark style.
void configureAsPanel(TSSegmentedControl& control, bool dark) {
  control.setTextColor(dark ? UIColor(0.549, 0.545, 0.545, 0.9) : UIColor(0.845, 0.845, 0.845, 0.9));
  control.setSelectedStateTextColor(UIColor::darkGrayColor());
  control.setBackgroundColor(UIColor::blackColor().colorWithAlphaComponent(dark ? 0.25 : 0.15));
  control.setSelectorViewColor(UIColor::whiteColor());
  control.setApplyCornerRadiusToSelectorView(true);
  control.setCornerRadius(15);
  control.setTransitionStyle(TSSegmentedControlTransitionStyle::Mask);
  control.setShadowsEnabled(false);
  control.setGradientBounceColor(UIColor::whiteColor());
}

// A demonstration look: blue selector, white selected titles, a soft background.
void configureAsDemo(TSSegmentedControl& control) {
  control.setTextColor(UIColor(0.2, 0.2, 0.25, 1));
  control.setSelectedStateTextColor(UIColor::whiteColor());
  control.setBackgroundColor(UIColor(1, 1, 1, 0.6));
  control.setSelectorViewColor(UIColor::systemBlueColor());
  control.setCornerRadius(18);
  control.setTextFont(UIFont::systemFontOfSize(14, UIFontWeight::Medium));
}

}  // namespace

bool ComponentGallery::write(const fs::path& folder, std::ostream& err) {
  pictures_.clear();
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder)) {
    err << "tessra gallery: cannot create the folder " << folder.string() << "\n";
    return false;
  }
  return writeControls(folder, err) && writeStrips(folder, err) && writeIndex(folder, err);
}

bool ComponentGallery::writeControls(const fs::path& folder, std::ostream& err) {
  ManualTaskEnvironment environment;
  ViewRenderer renderer;
  // One control in a holder of its backdrop colour, placed, settled, drawn and written.
  auto draw = [&](const std::string& file, const std::string& section, const std::string& caption, CGSize size,
                  const UIColor& backdrop, std::shared_ptr<GallerySource> source,
                  const std::function<void(TSSegmentedControl&)>& configure, Position position) {
    auto holder = std::make_shared<UIView>(CGRectMake(0, 0, size.width + 30, size.height + 30));
    holder->setBackgroundColor(backdrop);
    auto control = std::make_shared<TSSegmentedControl>(CGRectMake(15, 15, size.width, size.height));
    holder->addSubview(control);
    configure(*control);
    control->setDataSource(source);
    holder->layoutIfNeeded();
    const TSSegmentedControlGeometry g = control->geometry();
    switch (position.kind) {
      case Position::Kind::Rest: control->setCurrentState(position.state); break;
      case Position::Kind::Between:
        control->scrollView().setContentOffset({g.spacerWidth() - position.amount * g.selectorWidth(), 0});
        break;
      case Position::Kind::PastFirst:
        control->scrollView().setContentOffset({g.spacerWidth() + position.amount * g.selectorWidth(), 0});
        break;
      case Position::Kind::PastLast:
        control->scrollView().setContentOffset({-position.amount * g.selectorWidth(), 0});
        break;
    }
    environment.fastForwardBy(seconds(1));  // shadow fades run their course
    auto image = renderer.renderView(*holder, scale_);
    std::string error;
    if (!ViewRenderer::writePng(*image, (folder / file).string(), &error)) {
      err << "tessra gallery: " << error << "\n";
      return false;
    }
    pictures_.push_back({file, section, caption, image->pixelWidth(), image->pixelHeight()});
    return true;
  };

  const std::vector<std::string> panelTitles{"Toggles", "Behaviors"};
  const std::vector<std::string> three{"Wi-Fi", "Bluetooth", "Cellular"};
  bool ok = true;

  for (bool dark : {false, true}) {
    const std::string style = dark ? "dark" : "light";
    const std::string section = "The panel's control, " + style + " style (170 x 30, mask transition, no shadow)";
    for (auto [name, position, caption] :
         std::vector<std::tuple<std::string, Position, std::string>>{{"rest0", rest(0), "\"Toggles\" selected"},
                                                                     {"quarter", between(0.25), "a quarter of the way"},
                                                                     {"half", between(0.5), "half-way"},
                                                                     {"rest1", rest(1), "\"Behaviors\" selected"}}) {
      ok = ok && draw(
                     "panel-" + style + "-" + name + ".png", section, caption, {170, 30},
                     dark ? kDarkBackdrop : kLightBackdrop, std::make_shared<GallerySource>(panelTitles),
                     [dark](TSSegmentedControl& c) { configureAsPanel(c, dark); }, position);
    }
  }

  const char* transitionNames[] = {"none", "mask", "cross-fade"};
  for (unsigned style = 0; style < 3; ++style) {
    const std::string section =
        std::string("Transition style ") + std::to_string(style) + " (" + transitionNames[style] + ")";
    for (auto [name, position, caption] : std::vector<std::tuple<std::string, Position, std::string>>{
             {"rest", rest(0),
              style == 0 ? "at rest: the control leaves the looks to its delegate, so both "
                           "titles are drawn"
                         : "at rest on the first state"},
             {"half", between(0.5), "half-way between the first two states"},
             {"third", between(1.3), "30 % of the way from the second state to the third"}}) {
      ok = ok && draw(
                     "transition" + std::to_string(style) + "-" + name + ".png", section, caption, {300, 36},
                     kLightBackdrop, std::make_shared<GallerySource>(three),
                     [style](TSSegmentedControl& c) {
                       configureAsDemo(c);
                       c.setShadowsEnabled(false);
                       c.setTransitionStyle(static_cast<TSSegmentedControlTransitionStyle>(style));
                     },
                     position);
    }
  }

  const char* shapeNames[] = {"rounded rectangle", "dribble", "no outline"};
  // What each picture of a shape style shows: the rounded rectangle keeps its outline while it moves, the
  // dribble squeezes, and without an outline neither the selector nor the selected titles are drawn.
  const char* shapeCaptions[3][4] = {
      {"at rest on the second state", "a quarter of the way (the same outline, moved)",
       "half-way (the same outline, moved)", "three quarters of the way (the same outline, moved)"},
      {"at rest on the second state", "a quarter of the way (the right end pinches)", "half-way (the waist narrows)",
       "three quarters of the way (the left end pinches)"},
      {"at rest on the second state: no selector and no selected title are drawn",
       "a quarter of the way: nothing drawn", "half-way: nothing drawn", "three quarters of the way: nothing drawn"}};
  for (unsigned shape = 0; shape < 3; ++shape) {
    const std::string section = std::string("Shape style ") + std::to_string(shape) + " (" + shapeNames[shape] + ")";
    for (auto [name, position, caption] : std::vector<std::tuple<std::string, Position, std::string>>{
             {"rest", rest(1), shapeCaptions[shape][0]},
             {"quarter", between(0.25), shapeCaptions[shape][1]},
             {"half", between(0.5), shapeCaptions[shape][2]},
             {"three-quarters", between(0.75), shapeCaptions[shape][3]}}) {
      ok = ok && draw(
                     "shape" + std::to_string(shape) + "-" + name + ".png", section, caption, {300, 36}, kLightBackdrop,
                     std::make_shared<GallerySource>(three),
                     [shape](TSSegmentedControl& c) {
                       configureAsDemo(c);
                       c.setShadowsEnabled(false);
                       c.setTransitionStyle(TSSegmentedControlTransitionStyle::Mask);
                       c.setShapeStyle(static_cast<TSSegmentedControlShapeStyle>(shape));
                     },
                     position);
    }
  }

  for (double velocity : {1.0, 2.0}) {
    const std::string v = velocity == 1.0 ? "1" : "2";
    const std::string section = "Gradient, back velocity " + v + " (bounce colour red)";
    for (auto [name, position, caption] : std::vector<std::tuple<std::string, Position, std::string>>{
             {"past-first", Position{Position::Kind::PastFirst, 0, 0.45},
              "dragged 0.45 slot past the first state: the left end blends toward the bounce colour"},
             {"rest0", rest(0), "at rest on the first state"},
             {"half", between(0.5), "half-way: the blend between the first two groups"},
             {"rest2", rest(2), "at rest on the last state"},
             {"past-last", Position{Position::Kind::PastLast, 0, 0.45},
              "dragged 0.45 slot past the last state: the right end blends toward the bounce colour"}}) {
      ok = ok && draw(
                     "gradient-v" + v + "-" + name + ".png", section, caption, {300, 36}, kDarkBackdrop,
                     std::make_shared<GallerySource>(three, true),
                     [velocity](TSSegmentedControl& c) {
                       configureAsDemo(c);
                       c.setBackgroundColor(UIColor(1, 1, 1, 0.12));
                       c.setTextColor(UIColor(1, 1, 1, 0.6));
                       c.setSelectorViewColor(UIColor::clearColor());
                       c.setGradientBackVelocity(velocity);
                       c.setShadowsEnabled(false);
                       c.setTransitionStyle(TSSegmentedControlTransitionStyle::CrossFade);
                     },
                     position);
    }
  }

  for (bool shadows : {true, false}) {
    const std::string section = "Shadows (the gradient's first colour of the state; 0.5 s in, 0.8 s out)";
    for (auto [name, position, caption] : std::vector<std::tuple<std::string, Position, std::string>>{
             {"rest", rest(1), shadows ? "shadows on, at rest: the shadow is in" : "shadows off, at rest"},
             {"moving", between(0.6),
              shadows ? "shadows on, moving: the shadow has faded out" : "shadows off, moving"}}) {
      ok =
          ok && draw(
                    std::string("shadow-") + (shadows ? "on" : "off") + "-" + name + ".png", section, caption,
                    {300, 36}, kLightBackdrop, std::make_shared<GallerySource>(three, true),
                    [shadows](TSSegmentedControl& c) {
                      configureAsDemo(c);
                      c.setSelectorViewColor(UIColor::clearColor());  // the gradient shows; its colour tints the shadow
                      c.setShadowsEnabled(shadows);
                    },
                    position);
    }
  }
  return ok;
}

bool ComponentGallery::writeStrips(const fs::path& folder, std::ostream& err) {
  ManualTaskEnvironment environment;
  TessraStorageManager& store = TessraStorageManager::sharedInstance();
  const plist::Value previousStore = store.wholeStorageDictionary();

  plist::Dictionary many{{"volume", 0.4}, {"brightness", 0.755}};
  plist::Dictionary manyToggles;
  const char* switches[] = {"wifi",     "bluetooth",  "cellular", "airplane", "dnd",     "location", "orientationLock",
                            "lowPower", "nightShift", "vpn",      "ringer",   "darkMode"};
  for (int i = 0; i < 12; ++i) manyToggles.set(switches[i], plist::Value(i % 3 == 1 ? 0 : 1));
  many.set("toggles", plist::Value(std::move(manyToggles)));
  plist::Dictionary apps{
      {"com.example.nothing", plist::Value(plist::Dictionary{})},
      {"com.example.one", plist::Value(plist::Dictionary{{"toggles", plist::Value(plist::Dictionary{{"wifi", 1}})}})},
      {"com.example.mixed",
       plist::Value(plist::Dictionary{
           {"volume", 0.125},
           {"toggles", plist::Value(plist::Dictionary{
                           {"action_disableNC", 1}, {"bluetooth", 0}, {"wifi", 1}, {"lowPower", -1}})}})},
      {"com.example.many", plist::Value(std::move(many))},
  };
  store.setWholeStorageDictionary(plist::Value(std::move(apps)));

  const double previousScale = UIScreen::mainScreen().scale();
  ViewRenderer renderer;
  bool ok = true;
  for (double scale : {2.0, 3.0}) {
    UIScreen::mainScreen().setScale(scale);  // icons load in the screen's resolution
    const std::string x = scale == 2.0 ? "2x" : "3x";
    for (auto [id, label] : std::vector<std::pair<std::string, std::string>>{
             {"com.example.nothing", "an app with nothing customized (empty strip)"},
             {"com.example.one", "one thing: Wi-Fi on (the icon is as wide as the strip)"},
             {"com.example.mixed", "volume 12.5 %, a behaviour stored first, Bluetooth off, Wi-Fi on, low power -1"},
             {"com.example.many", "volume 40 %, brightness 75.5 %, twelve switches"}}) {
      for (bool dark : {false, true}) {
        const long n = store.getNbCustomizedThingsForBundleId(id);
        // As the settings page sizes it: 16 high, min(24 n - 8, page width - 100) wide on a 375-point page.
        const double width = std::max(16.0, std::min(24.0 * static_cast<double>(n) - 8, 275.0));
        auto holder = std::make_shared<UIView>(CGRectMake(0, 0, width + 24, 16 + 28));
        holder->setBackgroundColor(dark ? UIColor(0.11, 0.11, 0.12, 1) : UIColor::whiteColor());
        auto strip = std::make_shared<TSCustomizedThingsView>(CGRectMake(12, 8, width, 16), id,
                                                              dark ? UIColor::whiteColor() : UIColor::blackColor());
        holder->addSubview(strip);
        holder->layoutIfNeeded();
        auto image = renderer.renderView(*holder, scale);
        const std::string name = id.substr(id.rfind('.') + 1);
        const std::string file = "strip-" + name + "-" + (dark ? "dark" : "light") + "-" + x + ".png";
        std::string error;
        if (!ViewRenderer::writePng(*image, (folder / file).string(), &error)) {
          err << "tessra gallery: " << error << "\n";
          ok = false;
          break;
        }
        pictures_.push_back({file, "Customization summary strip at " + x, label + (dark ? ", white" : ", black"),
                             image->pixelWidth(), image->pixelHeight()});
      }
    }
  }
  UIScreen::mainScreen().setScale(previousScale);
  store.setWholeStorageDictionary(previousStore);
  return ok;
}

bool ComponentGallery::writeIndex(const fs::path& folder, std::ostream& err) const {
  std::ofstream page(folder / "index.html");
  page << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Segmented control and summary strip</title>\n"
          "<style>body{font-family:sans-serif;background:#f4f4f6;margin:24px}h2{margin-top:32px}"
          "figure{display:inline-block;margin:8px 16px 8px 0;vertical-align:top}"
          "figcaption{font-size:13px;color:#444;max-width:360px}img{border:1px solid #ccc}</style></head>\n"
          "<body><h1>Segmented control and customization summary strip</h1>\n";
  std::string section;
  auto escape = [](const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == '<')
        out += "&lt;";
      else if (c == '>')
        out += "&gt;";
      else if (c == '&')
        out += "&amp;";
      else if (c == '"')
        out += "&quot;";
      else
        out += c;
    }
    return out;
  };
  for (const Picture& picture : pictures_) {
    if (picture.section != section) {
      section = picture.section;
      page << "<h2>" << escape(section) << "</h2>\n";
    }
    const bool strip = picture.file.starts_with("strip-");
    const double shownScale = strip ? (picture.file.ends_with("3x.png") ? 3.0 : 2.0) / 2.0 : scale_ / 2.0;
    page << "<figure><img src=\"" << escape(picture.file) << "\" width=\""
         << static_cast<int>(picture.pixelWidth / shownScale) << "\" alt=\"" << escape(picture.caption)
         << "\"><figcaption>" << escape(picture.caption) << "</figcaption></figure>\n";
  }
  page << "</body></html>\n";
  page.close();
  if (!page) {
    err << "tessra gallery: cannot write " << (folder / "index.html").string() << "\n";
    return false;
  }
  return true;
}

}  // namespace tessra::cli
