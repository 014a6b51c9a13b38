#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {

class UIImage;
class UIImageView;

namespace springboard {

// A label holder of the force-touch menu's rows (SBUIActionViewLabel): the
// row's `_titleLabel` and `_subtitleLabel` below 13.0 are such holders, whose
// own `_label` field is the text label.
class ActionLabelView final : public ScreenView {
 public:
  ActionLabelView();
  ScreenLabel& label() const { return *label_; }

 protected:
  void layoutContents() override;

 private:
  std::shared_ptr<ScreenLabel> label_;
};

// One row of a quick-action menu: a title, an optional subtitle and an image
// at the trailing side. From 13.0 it is a _UIContextMenuActionView whose
// labels sit in a labels view (the subtitle label's superview); below 13.0
// an SBUIActionView whose labels are ActionLabelViews inside a labels view.
// Rows are made by the init messages of their classes (QuickActionClasses),
// so that hooks on those run; a tap runs the row's action. Private fields
// for plug-ins: `_titleLabel` and `_subtitleLabel`.
class QuickActionRowView final : public ScreenView {
 public:
  // Which row class: the context menu's (13.0 on) or the force-touch menu's.
  enum class Style { ContextMenu, ForceTouch };

  QuickActionRowView(Style style, Ref<Object> object, std::string title, std::string subtitle,
                     std::shared_ptr<UIImage> image);

  Style style() const { return style_; }
  const std::string& title() const { return title_; }
  const std::string& subtitle() const { return subtitle_; }
  // The trailing image (setTrailingImage: on 13.0 on).
  void setImage(std::shared_ptr<UIImage> image);
  const std::shared_ptr<UIImage>& image() const { return image_; }
  // The row's height for its subtitle.
  double preferredHeight() const;
  // What a tap on the row does (set by the menu).
  void setAction(std::function<void()> action) { action_ = std::move(action); }

  // The runtime objects of the labels (the label holders below 13.0).
  id titleLabelObject() const;
  id subtitleLabelObject() const;
  // The text labels themselves.
  UILabel& titleLabel() const;
  UILabel& subtitleLabel() const;
  // The superview of the subtitle: the labels view.
  UIView& labelsView() const { return *labels_; }

 protected:
  void layoutContents() override;

 private:
  Style style_;
  std::string title_;
  std::string subtitle_;
  std::shared_ptr<UIImage> image_;
  std::function<void()> action_;
  std::shared_ptr<UIView> labels_;
  std::shared_ptr<ScreenLabel> title13_, subtitle13_;
  std::shared_ptr<ActionLabelView> title12_, subtitle12_;
  std::shared_ptr<UIImageView> imageView_;
  std::shared_ptr<UIView> separator_;
};

}  // namespace springboard
}  // namespace platform
