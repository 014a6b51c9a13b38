#pragma once

#include <memory>
#include <string>

#include "platform/preferences/NSIndexPath.h"
#include "platform/ui/UIScrollViewDelegate.h"

namespace platform {

class UITableView;
class UITableViewCell;

// What a table asks of the object that fills it and reacts to it (the data
// source and delegate protocols together, as the list controller implements
// both, and the scroll view delegate of the table). Heights of UITableView::kAutomaticDimension leave the choice to the
// table. The table borrows the object.
class UITableViewDataSource : public UIScrollViewDelegate {
 public:
  virtual ~UITableViewDataSource() = default;
  virtual long numberOfSectionsInTableView(UITableView& tableView) = 0;
  virtual long numberOfRowsInSection(UITableView& tableView, long section) = 0;
  // A new cell for the row (the table keeps it while the row is on screen).
  virtual std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(UITableView& tableView, NSIndexPath indexPath) = 0;
  virtual std::string titleForHeaderInSection(UITableView&, long) { return {}; }
  virtual std::string titleForFooterInSection(UITableView&, long) { return {}; }
  virtual double heightForRowAtIndexPath(UITableView& tableView, NSIndexPath indexPath);
  virtual double heightForHeaderInSection(UITableView& tableView, long section);
  // Called just before a cell shows (after it was made or reloaded).
  virtual void willDisplayCell(UITableView&, UITableViewCell&, NSIndexPath) {}
  // Called when the user taps a row.
  virtual void didSelectRowAtIndexPath(UITableView&, NSIndexPath) {}
};

}  // namespace platform
