#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {
class UIImage;
}

// Finds the plug-in's resource bundle and loads what it holds: images for
// the panel, the summary strip and the icon menu (white on transparent PNGs
// used as template images, so they take the tint of the view showing them),
// and string tables. Class-level operations only; every call looks at the
// device's files afresh, so nothing is cached.
class BundleHelper {
 public:
  // The bundle's location on the device.
  static constexpr std::string_view kBundlePath = "/Library/Application Support/Tessra2Bundle.bundle";

  // A bundle: a folder of resources on the device, resolved inside the device root.
  class Bundle {
   public:
    explicit Bundle(std::filesystem::path folder) : folder_(std::move(folder)) {}
    // The host folder of the bundle.
    const std::filesystem::path& folder() const { return folder_; }
    // The file "<name>.<type>" in the bundle, or nothing when it is missing or the name is not a plain file name.
    std::optional<std::filesystem::path> pathForResource(std::string_view name, std::string_view type) const;
    // The value for `key` in the string table "Localizable" of the bundle's best localization; `fallback` when none.
    std::string localizedStringForKey(std::string_view key, std::string_view fallback) const;

   private:
    std::filesystem::path folder_;
  };

  // A new bundle object for kBundlePath, or nothing when the device holds no folder there.
  static std::optional<Bundle> getBundle();
  // The image "<name>.png" of the bundle in template rendering mode, or null when it has no such image.
  // The variant for the screen's scale ("<name>@2x.png", "<name>@3x.png") is preferred when present.
  static std::shared_ptr<platform::UIImage> getImageWithName(std::string_view name);
  // The bundle's localized string for `key`, or the key itself when there is none.
  static std::string getLocalizedStringFor(std::string_view key);
};
