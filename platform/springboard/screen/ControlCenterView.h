#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/springboard/screen/ScreenView.h"
#include "platform/ui/UILabel.h"

namespace platform {

class UIVisualEffectView;

namespace springboard {

// Control Center (CCUIModularControlCenterOverlayView): a dark blurred veil
// with one tile (CCUIToggleView) per system switch it offers, each a rounded
// square with the switch's glyph and its name under it, lit (the switch's
// colour) while the switch is on. A tap on a tile asks for the switch to be
// flipped; a tap anywhere else closes Control Center.
class ControlCenterView final : public ScreenView {
 public:
  // Flips the switch of the tile named `name` ("wifi"...).
  using Toggle = std::function<void(const std::string& name)>;

  ControlCenterView(Toggle toggle, std::function<void()> dismiss);

  // The switch names of the tiles, in order.
  static const std::vector<std::string>& tileNames();
  // Lights the tiles whose switches are on.
  void setStates(const std::map<std::string, bool>& on);
  bool isLit(const std::string& name) const;
  // The tile of a switch, or null.
  ScreenView* tile(const std::string& name) const;

 protected:
  void layoutContents() override;

 private:
  struct Tile {
    std::string name;
    std::shared_ptr<ScreenView> view;
    std::shared_ptr<UIView> square;
    std::shared_ptr<UIView> glyph;
    std::shared_ptr<UILabel> label;
    UIColor litColor;
    bool lit = false;
  };

  Toggle toggle_;
  std::shared_ptr<UIVisualEffectView> veil_;
  std::vector<Tile> tiles_;
};

}  // namespace springboard
}  // namespace platform
