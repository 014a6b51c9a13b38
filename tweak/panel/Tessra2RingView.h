#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/UIView.h"

class Tessra2Toggle;
class Tessra2ToggleButton;

// A square view that lays the shown toggles of a list out as round buttons
// on a circle, clockwise from 12 o'clock. The buttons burst out of the middle
// when the ring is built or shown and fly back into it when it is hidden;
// the ring is hidden once that flight ends. The ring owns its buttons (as
// subviews and in buttonsArray); the panel owns the ring.
class Tessra2RingView : public platform::UIView {
 public:
  // Largest button side, and the gap kept between the buttons and the ring's edge.
  static constexpr double kMaxButtonSize = 50;
  static constexpr double kEdgeMargin = 20;
  // Flight of the buttons to and from the middle, and their fade.
  static constexpr double kFlightDuration = 0.3;
  static constexpr double kFadeDuration = 0.15;

  // initWithToggles:frame: — the ring at `frame`, built from `toggles` (its origin should be (0, 0)).
  static std::shared_ptr<Tessra2RingView> create(const std::vector<std::shared_ptr<Tessra2Toggle>>& toggles,
                                                 const platform::CGRect& frame);
  explicit Tessra2RingView(const platform::CGRect& frame);

  // Builds one button per shown toggle, flying out from the middle. Called once.
  void setupViewWithToggles(const std::vector<std::shared_ptr<Tessra2Toggle>>& toggles);
  // Flies the buttons into the middle, fades them out, and hides the ring when they arrive;
  // `whenHidden` then runs once (not when a show came first).
  void hideAnimated(bool animated, std::function<void()> whenHidden = {});
  // Unhides the ring, flies the buttons home and fades them in.
  void showAnimated(bool animated);

  // Number of buttons (of shown toggles).
  int64_t nbButtons() const { return nbButtons_; }
  // The buttons, clockwise from the top.
  const std::vector<std::shared_ptr<Tessra2ToggleButton>>& buttonsArray() const { return buttonsArray_; }

 private:
  platform::CGPoint middle() const;

  int64_t nbButtons_ = 0;
  std::vector<std::shared_ptr<Tessra2ToggleButton>> buttonsArray_;
  // Bumped by every show, so that a hide's late completion does not hide a ring shown since.
  uint64_t showGeneration_ = 0;
};
