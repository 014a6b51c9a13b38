#pragma once

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/preferences/NSIndexPath.h"
#include "platform/preferences/UITableViewDataSource.h"
#include "platform/ui/UIScrollView.h"

namespace platform {

class UILabel;
class UITableViewCell;

// A grouped table (UITableView): sections of rows under optional header and
// footer texts, with an optional header view above everything. Row geometry
// comes from the data source; cells are asked for only for the rows on screen
// and kept until they scroll away or the table reloads. Borrows its data
// source; owns its cells, section labels and header view.
class UITableView : public UIScrollView {
 public:
  static constexpr double kAutomaticDimension = -1;
  static constexpr double kDefaultRowHeight = 44;

  explicit UITableView(const CGRect& frame = CGRectZero);
  ~UITableView() override;

  UITableViewDataSource* dataSource() const { return dataSource_; }
  void setDataSource(UITableViewDataSource* source);

  // Forgets every cell and asks the data source for everything again.
  void reloadData();
  // Makes new cells for those rows that are on screen.
  void reloadRowsAtIndexPaths(const std::vector<NSIndexPath>& paths);

  long numberOfSections() const { return static_cast<long>(sections_.size()); }
  long numberOfRowsInSection(long section) const;
  // The row's rectangle in content coordinates (zero for a row that does not exist).
  CGRect rectForRowAtIndexPath(NSIndexPath path) const;
  // The rectangle of the section's header text area (zero for none).
  CGRect rectForHeaderInSection(long section) const;
  // The cell of a row on screen, or null.
  UITableViewCell* cellForRowAtIndexPath(NSIndexPath path) const;
  // The row a cell on screen shows.
  std::optional<NSIndexPath> indexPathForCell(const UITableViewCell& cell) const;
  // The rows whose cells are on screen, in order.
  std::vector<NSIndexPath> indexPathsForVisibleRows() const;
  // Scrolls as little as needed to bring the row on screen.
  void scrollToRowAtIndexPath(NSIndexPath path);
  // A tap on a row, as the user makes it: the data source's didSelectRowAtIndexPath.
  void selectRowAsUser(NSIndexPath path);
  // Selects / deselects a row (the highlight of its cell).
  void selectRowAtIndexPath(std::optional<NSIndexPath> path);
  void deselectRowAtIndexPath(NSIndexPath path, bool animated);
  std::optional<NSIndexPath> indexPathForSelectedRow() const { return selected_; }

  UIView* tableHeaderView() const { return headerView_.get(); }
  // Shows `view` above the first section, at its own height and the table's width.
  void setTableHeaderView(std::shared_ptr<UIView> view);
  std::optional<UIColor> separatorColor() const { return separatorColor_; }
  void setSeparatorColor(std::optional<UIColor> color) { separatorColor_ = color; }
  bool dismissesKeyboardOnDrag() const { return dismissesKeyboardOnDrag_; }
  void setDismissesKeyboardOnDrag(bool dismisses) { dismissesKeyboardOnDrag_ = dismisses; }

  // The header and footer labels of sections on screen (for looking at a page).
  UILabel* headerLabelInSection(long section) const;
  UILabel* footerLabelInSection(long section) const;

  // Called by a cell when the user tapped it.
  void userDidTapCell(UITableViewCell& cell);

  void layoutSubviews() override;
  void setBounds(const CGRect& bounds) override;

 private:
  // Passes the scroll view's reports on to the data source after tiling the cells.
  class ScrollForwarder : public UIScrollViewDelegate {
   public:
    explicit ScrollForwarder(UITableView& table) : table_(table) {}
    void scrollViewDidScroll(UIScrollView&) override;
    void scrollViewWillBeginDragging(UIScrollView&) override;
    void scrollViewDidEndDecelerating(UIScrollView&) override;

   private:
    UITableView& table_;
  };
  struct Section {
    double top = 0;
    double headerHeight = 0;
    std::string header;
    std::string footer;
    double footerHeight = 0;
    std::vector<double> rowTops;
    std::vector<double> rowHeights;
  };
  void computeGeometry();
  void updateVisibleCells();
  std::shared_ptr<UITableViewCell> makeCell(NSIndexPath path);

  ScrollForwarder forwarder_{*this};
  UITableViewDataSource* dataSource_ = nullptr;
  std::vector<Section> sections_;
  bool geometryValid_ = false;
  std::map<NSIndexPath, std::shared_ptr<UITableViewCell>> cells_;
  std::map<long, std::shared_ptr<UILabel>> headerLabels_;
  std::map<long, std::shared_ptr<UILabel>> footerLabels_;
  std::shared_ptr<UIView> headerView_;
  std::optional<UIColor> separatorColor_;
  std::optional<NSIndexPath> selected_;
  bool dismissesKeyboardOnDrag_ = false;
  bool updating_ = false;
};

}  // namespace platform
