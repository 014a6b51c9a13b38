#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/NSAttributedString.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIView.h"

class TSSegmentedControl;

// What a segmented control asks of its owner: the number of states and the
// content of each slot (a title, plain or attributed, or views), optionally the gradient colours.
// Only the number of states is required; an optional method that is not
// overridden answers nothing (nullopt / null), which the control treats as
// "not provided". The control refers to its data source weakly.
class TSSegmentedControlDataSource {
 public:
  virtual ~TSSegmentedControlDataSource() = default;

  // N, the number of states; asked at every reload.
  virtual long numberOfStatesInSegmentedControl(TSSegmentedControl& control) = 0;
  // The title of slot `index`.
  virtual std::optional<std::string> titleForStateAtIndex(TSSegmentedControl&, long /*index*/) { return std::nullopt; }
  // The styled title of slot `index`; wins over the plain title.
  virtual std::optional<platform::NSAttributedString> attributedTitleForStateAtIndex(TSSegmentedControl&,
                                                                                     long /*index*/) {
    return std::nullopt;
  }
  // The title of slot `index` in its selected look.
  virtual std::optional<std::string> titleForSelectedStateAtIndex(TSSegmentedControl&, long /*index*/) {
    return std::nullopt;
  }
  // The styled title of slot `index` in its selected look; wins over the plain selected title.
  virtual std::optional<platform::NSAttributedString> attributedTitleForSelectedStateAtIndex(TSSegmentedControl&,
                                                                                             long /*index*/) {
    return std::nullopt;
  }
  // Custom content of slot `index`, instead of a title; asked again for each new view wanted.
  virtual std::shared_ptr<platform::UIView> viewForStateAtIndex(TSSegmentedControl&, long /*index*/) { return nullptr; }
  // Custom selected content of slot `index`.
  virtual std::shared_ptr<platform::UIView> viewForSelectedStateAtIndex(TSSegmentedControl&, long /*index*/) {
    return nullptr;
  }
  // The gradient colours of slot `index` (one colour counts twice).
  virtual std::optional<std::vector<platform::UIColor>> gradientColorsForStateAtIndex(TSSegmentedControl&,
                                                                                      long /*index*/) {
    return std::nullopt;
  }
  // The gradient colours beyond an end: side 0 the left end, 1 the right end.
  virtual std::optional<std::vector<platform::UIColor>> gradientColorsForBounce(TSSegmentedControl&,
                                                                                unsigned long /*side*/) {
    return std::nullopt;
  }
};
