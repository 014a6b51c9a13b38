#pragma once

#include <memory>
#include <string>

#include "platform/foundation/PropertyList.h"

namespace platform {

class UIImage;

// The application workspace's record of one installed app
// (LSApplicationProxy): its bundle identifier, the name shown, whether it is
// installed, its icon's name and icons dictionary, and the small icon a table
// row shows. Immutable once made; shared by the lists that hold it.
class LSApplicationProxy {
 public:
  struct Fields {
    std::string bundleIdentifier;
    std::string localizedName;
    bool installed = true;
    std::string primaryIconName;   // empty: none
    plist::Value iconsDictionary;  // null: none
    std::string iconFile;          // device path of an icon picture; empty: none
  };

  explicit LSApplicationProxy(Fields fields) : fields_(std::move(fields)) {}

  const std::string& bundleIdentifier() const { return fields_.bundleIdentifier; }
  const std::string& localizedName() const { return fields_.localizedName; }
  bool isInstalled() const { return fields_.installed; }
  const std::string& primaryIconName() const { return fields_.primaryIconName; }
  const plist::Value& iconsDictionary() const { return fields_.iconsDictionary; }
  // Whether the record offers appIconForTableCell (it has a picture).
  bool respondsToAppIconForTableCell() const { return !fields_.iconFile.empty(); }
  // The icon for a table row (29 points), loaded on first use; null when there is none.
  std::shared_ptr<UIImage> appIconForTableCell() const;

 private:
  Fields fields_;
  mutable std::shared_ptr<UIImage> icon_;
  mutable bool iconLoaded_ = false;
};

}  // namespace platform
