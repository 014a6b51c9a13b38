#pragma once

#include <memory>
#include <string>

#include "platform/ui/UIView.h"

namespace platform {

class UIImage;
class UIImageView;
class UILabel;
class UITableView;

enum class UITableViewCellStyle { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
enum class UITableViewCellAccessoryType { None = 0, DisclosureIndicator = 1, Checkmark = 3 };

// One row of a table (UITableViewCell): a title, an optional detail text
// beside it (value style) or under it (subtitle style), an optional icon on
// the left and an accessory (a disclosure chevron, or a view such as a switch)
// on the right. The table owns the cells of the rows on screen; a tap on the
// cell outside any control selects its row.
class UITableViewCell : public UIView {
 public:
  UITableViewCell(UITableViewCellStyle style, std::string reuseIdentifier);
  ~UITableViewCell() override;

  UITableViewCellStyle style() const { return style_; }
  const std::string& reuseIdentifier() const { return reuseIdentifier_; }
  UILabel* textLabel() const { return textLabel_.get(); }
  // The detail label (null in the default style).
  UILabel* detailTextLabel() const { return detailLabel_.get(); }
  UIImageView* imageView() const { return imageView_.get(); }
  UIView* contentView() const { return contentView_.get(); }

  UITableViewCellAccessoryType accessoryType() const { return accessoryType_; }
  void setAccessoryType(UITableViewCellAccessoryType type);
  UIView* accessoryView() const { return accessoryView_.get(); }
  // Shows `view` on the right instead of the accessory type's mark (null removes it).
  void setAccessoryView(std::shared_ptr<UIView> view);

  // The table that shows the cell, or null (set by the table).
  UITableView* tableView() const { return tableView_; }
  void setTableView(UITableView* table) { tableView_ = table; }

  void layoutSubviews() override;
  // The content view and the labels in it do not take touches for themselves: a finger there is the cell's.
  UIView* hitTest(CGPoint p, UIEvent* event) override;
  void touchesEnded(const std::vector<UITouch*>& touches, UIEvent* event) override;

 private:
  UITableViewCellStyle style_;
  std::string reuseIdentifier_;
  std::shared_ptr<UIView> contentView_;
  std::shared_ptr<UILabel> textLabel_;
  std::shared_ptr<UILabel> detailLabel_;
  std::shared_ptr<UIImageView> imageView_;
  std::shared_ptr<UILabel> chevron_;
  std::shared_ptr<UIView> accessoryView_;
  UITableViewCellAccessoryType accessoryType_ = UITableViewCellAccessoryType::None;
  UITableView* tableView_ = nullptr;
};

}  // namespace platform
