#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/ui/UIControl.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"

namespace platform {

// Kinds of button (UIButtonType, same values).
enum class UIButtonType { Custom = 0, System = 1 };

// A control that shows an image and/or a title per state (UIButton). The
// image view and title label are subviews made on first use and placed in
// layoutSubviews: the image fills the bounds less imageEdgeInsets (drawn by
// the image view's content mode, default aspect fit in that rectangle), the
// title is centred. While pressed the image is drawn dimmed
// (isImageDimmed(), when adjustsImageWhenHighlighted).
class UIButton : public UIControl {
 public:
  // buttonWithType:.
  static std::shared_ptr<UIButton> buttonWithType(UIButtonType type);
  explicit UIButton(const CGRect& frame = CGRectZero, UIButtonType type = UIButtonType::Custom);

  UIButtonType buttonType() const { return type_; }
  // setImage:forState:.
  void setImage(std::shared_ptr<UIImage> image, UIControlState state);
  // The image for a state; Normal's when the state has none.
  std::shared_ptr<UIImage> imageForState(UIControlState state) const;
  // The image for the current state.
  std::shared_ptr<UIImage> currentImage() const { return imageForState(displayState()); }
  // setTitle:forState:.
  void setTitle(std::string title, UIControlState state);
  std::string titleForState(UIControlState state) const;
  std::string currentTitle() const { return titleForState(displayState()); }
  // setTitleColor:forState: (default: the tint for system buttons, white for custom ones).
  void setTitleColor(UIColor color, UIControlState state);
  UIColor titleColorForState(UIControlState state) const;
  UIEdgeInsets imageEdgeInsets() const { return imageInsets_; }
  void setImageEdgeInsets(const UIEdgeInsets& insets);
  bool adjustsImageWhenHighlighted() const { return adjustsImage_; }
  void setAdjustsImageWhenHighlighted(bool a) { adjustsImage_ = a; }
  // Whether the image is drawn in its pressed (dimmed) look now.
  bool isImageDimmed() const { return adjustsImage_ && isHighlighted(); }

  // The image view (made on first use).
  UIImageView* imageView();
  // The title label (made on first use).
  UILabel* titleLabel();

  void setHighlighted(bool h) override;
  void setSelected(bool s) override;
  void setEnabled(bool e) override;
  void layoutSubviews() override;
  CGSize intrinsicContentSize() const override;
  CGSize sizeThatFits(CGSize size) override;

 private:
  UIControlState displayState() const;
  void refreshContent();

  UIButtonType type_;
  std::map<unsigned, std::shared_ptr<UIImage>> images_;
  std::map<unsigned, std::string> titles_;
  std::map<unsigned, UIColor> titleColors_;
  UIEdgeInsets imageInsets_;
  bool adjustsImage_ = true;
  std::shared_ptr<UIImageView> imageView_;
  std::shared_ptr<UILabel> titleLabel_;
};

}  // namespace platform
