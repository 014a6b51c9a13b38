#include "platform/preferences/UITableView.h"

#include <algorithm>

#include "platform/preferences/UITableViewCell.h"
#include "platform/ui/UILabel.h"

namespace platform {

namespace {
constexpr double kSectionGap = 18;        // above a section without a header text
constexpr double kHeaderTextHeight = 38;  // a section header with a text
constexpr double kFooterGap = 10;
constexpr double kTextInset = 15;
const UIColor kGroupedBackground = UIColor::colorWithRed(0.937, 0.937, 0.957, 1);
const UIColor kSectionText = UIColor::colorWithWhite(0.43, 1);
}  // namespace

double UITableViewDataSource::heightForRowAtIndexPath(UITableView&, NSIndexPath) {
  return UITableView::kAutomaticDimension;
}

double UITableViewDataSource::heightForHeaderInSection(UITableView&, long) { return UITableView::kAutomaticDimension; }

UITableView::UITableView(const CGRect& frame) : UIScrollView(frame) {
  setBackgroundColor(kGroupedBackground);
  setAlwaysBounceVertical(true);
  UIScrollView::setDelegate(&forwarder_);
}

void UITableView::ScrollForwarder::scrollViewDidScroll(UIScrollView& view) {
  table_.updateVisibleCells();
  if (table_.dataSource_) table_.dataSource_->scrollViewDidScroll(view);
}

void UITableView::ScrollForwarder::scrollViewWillBeginDragging(UIScrollView& view) {
  if (table_.dataSource_) table_.dataSource_->scrollViewWillBeginDragging(view);
}

void UITableView::ScrollForwarder::scrollViewDidEndDecelerating(UIScrollView& view) {
  if (table_.dataSource_) table_.dataSource_->scrollViewDidEndDecelerating(view);
}

UITableView::~UITableView() = default;

void UITableView::setDataSource(UITableViewDataSource* source) {
  dataSource_ = source;
  reloadData();
}

void UITableView::reloadData() {
  for (auto& [path, cell] : cells_) {
    cell->setTableView(nullptr);
    cell->removeFromSuperview();
  }
  cells_.clear();
  for (auto* labels : {&headerLabels_, &footerLabels_}) {
    for (auto& [section, label] : *labels) label->removeFromSuperview();
    labels->clear();
  }
  geometryValid_ = false;
  setNeedsLayout();
  updateVisibleCells();
}

void UITableView::reloadRowsAtIndexPaths(const std::vector<NSIndexPath>& paths) {
  for (const auto& path : paths) {
    auto it = cells_.find(path);
    if (it == cells_.end()) continue;
    it->second->setTableView(nullptr);
    it->second->removeFromSuperview();
    cells_.erase(it);
  }
  updateVisibleCells();
}

long UITableView::numberOfRowsInSection(long section) const {
  if (section < 0 || section >= numberOfSections()) return 0;
  return static_cast<long>(sections_[static_cast<size_t>(section)].rowTops.size());
}

CGRect UITableView::rectForRowAtIndexPath(NSIndexPath path) const {
  if (path.row < 0 || path.row >= numberOfRowsInSection(path.section)) return CGRectZero;
  const Section& s = sections_[static_cast<size_t>(path.section)];
  return CGRectMake(0, s.rowTops[static_cast<size_t>(path.row)], bounds().size.width,
                    s.rowHeights[static_cast<size_t>(path.row)]);
}

CGRect UITableView::rectForHeaderInSection(long section) const {
  if (section < 0 || section >= numberOfSections()) return CGRectZero;
  const Section& s = sections_[static_cast<size_t>(section)];
  return CGRectMake(0, s.top, bounds().size.width, s.headerHeight);
}

UITableViewCell* UITableView::cellForRowAtIndexPath(NSIndexPath path) const {
  auto it = cells_.find(path);
  return it == cells_.end() ? nullptr : it->second.get();
}

std::optional<NSIndexPath> UITableView::indexPathForCell(const UITableViewCell& cell) const {
  for (const auto& [path, shown] : cells_)
    if (shown.get() == &cell) return path;
  return std::nullopt;
}

std::vector<NSIndexPath> UITableView::indexPathsForVisibleRows() const {
  std::vector<NSIndexPath> paths;
  for (const auto& [path, cell] : cells_) paths.push_back(path);
  return paths;
}

void UITableView::scrollToRowAtIndexPath(NSIndexPath path) {
  computeGeometry();
  CGRect row = rectForRowAtIndexPath(path);
  if (row.size.height <= 0) return;
  CGRect b = bounds();
  double top = b.origin.y + contentInset().top;
  double bottom = b.origin.y + b.size.height - contentInset().bottom;
  double y = b.origin.y;
  if (row.origin.y < top)
    y = row.origin.y - contentInset().top;
  else if (row.origin.y + row.size.height > bottom)
    y = row.origin.y + row.size.height - b.size.height + contentInset().bottom;
  if (y != b.origin.y) setContentOffset(CGPointMake(b.origin.x, y));
  updateVisibleCells();
}

void UITableView::selectRowAsUser(NSIndexPath path) {
  if (path.row < 0 || path.row >= numberOfRowsInSection(path.section) || !dataSource_) return;
  selectRowAtIndexPath(path);
  dataSource_->didSelectRowAtIndexPath(*this, path);
}

void UITableView::selectRowAtIndexPath(std::optional<NSIndexPath> path) {
  if (selected_)
    if (auto* cell = cellForRowAtIndexPath(*selected_)) cell->setBackgroundColor(UIColor::whiteColor());
  selected_ = path;
  if (selected_)
    if (auto* cell = cellForRowAtIndexPath(*selected_)) cell->setBackgroundColor(UIColor::colorWithWhite(0.85, 1));
}

void UITableView::deselectRowAtIndexPath(NSIndexPath path, bool) {
  if (selected_ == path) selectRowAtIndexPath(std::nullopt);
}

void UITableView::setTableHeaderView(std::shared_ptr<UIView> view) {
  if (headerView_) headerView_->removeFromSuperview();
  headerView_ = std::move(view);
  if (headerView_) addSubview(headerView_);
  geometryValid_ = false;
  setNeedsLayout();
}

UILabel* UITableView::headerLabelInSection(long section) const {
  auto it = headerLabels_.find(section);
  return it == headerLabels_.end() ? nullptr : it->second.get();
}

UILabel* UITableView::footerLabelInSection(long section) const {
  auto it = footerLabels_.find(section);
  return it == footerLabels_.end() ? nullptr : it->second.get();
}

void UITableView::userDidTapCell(UITableViewCell& cell) {
  if (auto path = indexPathForCell(cell)) selectRowAsUser(*path);
}

void UITableView::setBounds(const CGRect& newBounds) {
  bool resized = newBounds.size.width != bounds().size.width;
  UIScrollView::setBounds(newBounds);
  if (resized) geometryValid_ = false;
  updateVisibleCells();
}

void UITableView::layoutSubviews() {
  UIScrollView::layoutSubviews();
  updateVisibleCells();
}

void UITableView::computeGeometry() {
  if (geometryValid_) return;
  geometryValid_ = true;
  sections_.clear();
  double width = bounds().size.width;
  double y = 0;
  if (headerView_) {
    CGRect f = headerView_->frame();
    headerView_->setFrame(CGRectMake(0, 0, width, f.size.height));
    y = f.size.height;
  }
  if (!dataSource_) {
    setContentSize(CGSizeMake(width, y));
    return;
  }
  long count = std::max(0L, dataSource_->numberOfSectionsInTableView(*this));
  for (long s = 0; s < count; ++s) {
    Section section;
    section.top = y;
    section.header = dataSource_->titleForHeaderInSection(*this, s);
    section.footer = dataSource_->titleForFooterInSection(*this, s);
    double header = dataSource_->heightForHeaderInSection(*this, s);
    if (header < 0) header = section.header.empty() ? kSectionGap : kHeaderTextHeight;
    section.headerHeight = header;
    y += header;
    long rows = std::max(0L, dataSource_->numberOfRowsInSection(*this, s));
    for (long r = 0; r < rows; ++r) {
      double h = dataSource_->heightForRowAtIndexPath(*this, {s, r});
      if (h < 0) h = kDefaultRowHeight;
      section.rowTops.push_back(y);
      section.rowHeights.push_back(h);
      y += h;
    }
    if (!section.footer.empty()) {
      UILabel probe;
      probe.setFont(UIFont::systemFontOfSize(13));
      probe.setNumberOfLines(0);
      probe.setText(section.footer);
      section.footerHeight = probe.sizeThatFits(CGSizeMake(width - 2 * kTextInset, 10000)).height + 2 * kFooterGap;
    } else {
      section.footerHeight = kFooterGap;
    }
    y += section.footerHeight;
    sections_.push_back(std::move(section));
  }
  setContentSize(CGSizeMake(width, y + kSectionGap));
}

std::shared_ptr<UITableViewCell> UITableView::makeCell(NSIndexPath path) {
  auto cell = dataSource_->cellForRowAtIndexPath(*this, path);
  if (!cell) cell = std::make_shared<UITableViewCell>(UITableViewCellStyle::Default, "");
  cell->setFrame(rectForRowAtIndexPath(path));
  cell->setTableView(this);
  if (selected_ == path) cell->setBackgroundColor(UIColor::colorWithWhite(0.85, 1));
  addSubview(cell);
  cell->layoutIfNeeded();
  return cell;
}

void UITableView::updateVisibleCells() {
  if (updating_ || !dataSource_) return;
  updating_ = true;
  computeGeometry();
  CGRect b = bounds();
  double top = b.origin.y, bottom = b.origin.y + b.size.height;
  double width = b.size.width;
  std::map<NSIndexPath, std::shared_ptr<UITableViewCell>> keep;
  std::vector<NSIndexPath> fresh;
  for (long s = 0; s < numberOfSections(); ++s) {
    const Section& section = sections_[static_cast<size_t>(s)];
    for (size_t r = 0; r < section.rowTops.size(); ++r) {
      double rowTop = section.rowTops[r], rowBottom = rowTop + section.rowHeights[r];
      if (rowBottom <= top || rowTop >= bottom) continue;
      NSIndexPath path{s, static_cast<long>(r)};
      auto it = cells_.find(path);
      if (it != cells_.end()) {
        it->second->setFrame(CGRectMake(0, rowTop, width, section.rowHeights[r]));
        keep.emplace(path, it->second);
        cells_.erase(it);
      } else {
        keep.emplace(path, makeCell(path));
        fresh.push_back(path);
      }
    }
    auto place = [&](std::map<long, std::shared_ptr<UILabel>>& labels, const std::string& text, CGRect rect) {
      auto it = labels.find(s);
      bool visible = !text.empty() && rect.origin.y < bottom && rect.origin.y + rect.size.height > top;
      if (!visible) {
        if (it != labels.end()) {
          it->second->removeFromSuperview();
          labels.erase(it);
        }
        return;
      }
      if (it == labels.end()) {
        auto label = std::make_shared<UILabel>();
        label->setFont(UIFont::systemFontOfSize(13));
        label->setTextColor(kSectionText);
        label->setNumberOfLines(0);
        label->setText(text);
        addSubview(label);
        it = labels.emplace(s, std::move(label)).first;
      }
      it->second->setFrame(rect);
    };
    double rowsEnd = section.rowTops.empty() ? section.top + section.headerHeight
                                             : section.rowTops.back() + section.rowHeights.back();
    place(headerLabels_, section.header,
          CGRectMake(kTextInset, section.top + section.headerHeight - 28, width - 2 * kTextInset, 22));
    place(footerLabels_, section.footer,
          CGRectMake(kTextInset, rowsEnd + kFooterGap / 2, width - 2 * kTextInset, section.footerHeight - kFooterGap));
  }
  for (auto& [path, cell] : cells_) {
    cell->setTableView(nullptr);
    cell->removeFromSuperview();
  }
  cells_ = std::move(keep);
  for (const auto& path : fresh)
    if (auto* cell = cellForRowAtIndexPath(path)) dataSource_->willDisplayCell(*this, *cell, path);
  updating_ = false;
}

}  // namespace platform
