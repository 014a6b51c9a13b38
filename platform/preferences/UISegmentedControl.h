#pragma once

#include <string>
#include <vector>

#include "platform/ui/UIControl.h"

namespace platform {

class UILabel;

// A row of segments of which one is selected (UISegmentedControl): a rounded
// outline in the tint colour, the selected segment filled with it. Selecting
// a segment as the user does sends ValueChanged; setSelectedSegmentIndex does
// not. Owned by its superview.
class UISegmentedControl : public UIControl {
 public:
  static constexpr long kNoSegment = -1;

  explicit UISegmentedControl(std::vector<std::string> titles);

  const std::vector<std::string>& titles() const { return titles_; }
  long numberOfSegments() const { return static_cast<long>(titles_.size()); }
  long selectedSegmentIndex() const { return selected_; }
  // Selects a segment (kNoSegment or an index out of range selects none) without sending an action.
  void setSelectedSegmentIndex(long index);
  // Selects a segment as a tap does and sends ValueChanged (nothing while disabled or out of range).
  void selectSegmentFromUser(long index);
  // The index of the segment titled `title`, or kNoSegment.
  long indexOfTitle(const std::string& title) const;

  void setEnabled(bool enabled) override;
  void tintColorDidChange() override { refreshLook(); }
  void layoutSubviews() override;
  void touchesEnded(const std::vector<UITouch*>& touches, UIEvent* event) override;
  CGSize intrinsicContentSize() const override;

 private:
  void refreshLook();
  std::vector<std::string> titles_;
  long selected_ = kNoSegment;
  std::vector<std::shared_ptr<UILabel>> labels_;
};

}  // namespace platform
