#include "platform/springboard/DeviceConfiguration.h"

namespace platform::springboard {

std::vector<InstalledApp> DeviceConfiguration::defaultInstalledApps() {
  return {
      {"com.apple.Preferences", "Settings", AppKind::System, "Settings.png"},
      {"com.apple.mobilesafari", "Safari", AppKind::System, "Safari.png"},
      {"com.apple.Music", "Music", AppKind::System, "Music.png"},
      {"com.apple.Maps", "Maps", AppKind::System, "Maps.png"},
      {"com.apple.MobileSMS", "Messages", AppKind::System, "Messages.png"},
      {"com.apple.camera", "Camera", AppKind::System, "Camera.png"},
      {"com.google.Maps", "Google Maps", AppKind::User, "GoogleMaps.png"},
      {"com.waze.iphone", "Waze", AppKind::User, "Waze.png"},
      {"com.spotify.client", "Spotify", AppKind::User, "Spotify.png"},
      {"com.netflix.Netflix", "Netflix", AppKind::User, "Netflix.png"},
      {"com.supercell.clashroyale", "Clash Royale", AppKind::User, "ClashRoyale.png"},
  };
}

}  // namespace platform::springboard
