#include "platform/springboard/screen/ControlCenterView.h"

#include "platform/springboard/screen/AppIconStyle.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "platform/ui/UIVisualEffectView.h"

namespace platform::springboard {

namespace {

struct TileKind {
  const char* name;
  const char* title;
  char32_t glyph;
  UIColor lit;
};

const TileKind kTiles[] = {
    {"airplane", "Airplane Mode", 0xF01D, UIColor(1, 0.58, 0, 1)},
    {"cellular", "Cellular Data", 0xF4A2, UIColor(0.2, 0.78, 0.35, 1)},
    {"wifi", "Wi-Fi", 0xF5A9, UIColor(0, 0.48, 1, 1)},
    {"bluetooth", "Bluetooth", 0xF0AF, UIColor(0, 0.48, 1, 1)},
    {"dnd", "Do Not Disturb", 0xF594, UIColor(0.35, 0.34, 0.84, 1)},
    {"orientation-lock", "Orientation Lock", 0xF476, UIColor(1, 0.23, 0.19, 1)},
    {"low-power", "Low Power Mode", 0xF079, UIColor(1, 0.8, 0, 1)},
    {"location", "Location", 0xF390, UIColor(0, 0.48, 1, 1)},
};

constexpr double kSquare = 62;
constexpr double kTileHeight = kSquare + 34;

}  // namespace

const std::vector<std::string>& ControlCenterView::tileNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const TileKind& kind : kTiles) all.emplace_back(kind.name);
    return all;
  }();
  return names;
}

ControlCenterView::ControlCenterView(Toggle toggle, std::function<void()> dismiss)
    : ScreenView("CCUIModularControlCenterOverlayView"), toggle_(std::move(toggle)) {
  setHidden(true);
  veil_ = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Dark));
  veil_->setBackgroundColor(UIColor(0, 0, 0, 0.3));
  veil_->addGestureRecognizer(std::make_shared<UITapGestureRecognizer>([dismiss](UIGestureRecognizer&) {
    if (dismiss) dismiss();
  }));
  addSubview(veil_);
  const double scale = UIScreen::mainScreen().scale();
  for (const TileKind& kind : kTiles) {
    Tile tile{kind.name,
              std::make_shared<ScreenView>("CCUIToggleView"),
              std::make_shared<UIView>(),
              nullptr,
              std::make_shared<UILabel>(),
              kind.lit};
    tile.view->setDetail(kind.name);
    tile.square->layer().setCornerRadius(kSquare / 2);
    tile.square->setUserInteractionEnabled(false);
    auto glyph = std::make_shared<UIImageView>();
    glyph->setImage(AppIconStyle::glyphImage(kind.glyph, 30, scale));
    glyph->setUserInteractionEnabled(false);
    tile.glyph = glyph;
    tile.label->setText(kind.title);
    tile.label->setFont(UIFont::systemFontOfSize(11, UIFontWeight::Medium));
    tile.label->setTextColor(UIColor::whiteColor());
    tile.label->setTextAlignment(NSTextAlignment::Center);
    tile.label->setNumberOfLines(2);
    tile.view->addSubview(tile.square);
    tile.square->addSubview(glyph);
    tile.view->addSubview(tile.label);
    std::string name = kind.name;
    tile.view->addGestureRecognizer(std::make_shared<UITapGestureRecognizer>([this, name](UIGestureRecognizer&) {
      if (toggle_) toggle_(name);
    }));
    addSubview(tile.view);
    tiles_.push_back(std::move(tile));
  }
  setStates({});
}

void ControlCenterView::setStates(const std::map<std::string, bool>& on) {
  for (Tile& tile : tiles_) {
    auto it = on.find(tile.name);
    bool lit = it != on.end() && it->second;
    if (tile.square->backgroundColor() && lit == tile.lit) continue;
    tile.lit = lit;
    tile.square->setBackgroundColor(tile.lit ? tile.litColor : UIColor(1, 1, 1, 0.18));
    tile.glyph->setTintColor(tile.lit && tile.name == "low-power" ? UIColor::blackColor() : UIColor::whiteColor());
  }
}

bool ControlCenterView::isLit(const std::string& name) const {
  for (const Tile& tile : tiles_) {
    if (tile.name == name) return tile.lit;
  }
  return false;
}

ScreenView* ControlCenterView::tile(const std::string& name) const {
  for (const Tile& tile : tiles_) {
    if (tile.name == name) return tile.view.get();
  }
  return nullptr;
}

void ControlCenterView::layoutContents() {
  const CGSize size = bounds().size;
  veil_->setFrame(bounds());
  const bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
  const int columns = 4;
  const double cell = std::min(88.0, (size.width - 32) / columns);
  const double left = (size.width - columns * cell) / 2, top = size.height > 1000 ? 160 : 110;
  for (size_t i = 0; i < tiles_.size(); ++i) {
    int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
    if (rtl) column = columns - 1 - column;
    Tile& tile = tiles_[i];
    tile.view->setFrame(CGRectMake(left + column * cell, top + row * (kTileHeight + 12), cell, kTileHeight));
    tile.square->setFrame(CGRectMake((cell - kSquare) / 2, 0, kSquare, kSquare));
    tile.glyph->setFrame(CGRectMake((kSquare - 30) / 2, (kSquare - 30) / 2, 30, 30));
    tile.label->setFrame(CGRectMake(0, kSquare + 4, cell, 28));
  }
}

}  // namespace platform::springboard
