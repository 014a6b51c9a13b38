#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// A rectangle of frame pixels: what changed between two frames.
struct FrameRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const FrameRect&) const = default;
  bool empty() const { return width <= 0 || height <= 0; }
};

// A hardware button or gesture a window sends for a key of the keyboard.
enum class DisplayKey { Home, Lock, Siri, Spotlight, VolumeUp, VolumeDown, VolumeBoth, Side };

// The display channel between the home-screen host and the windows that show
// its screen. The host exports it on its bus name (bus::kSpringBoardBusName):
//   Attach(d scale) -> (h frame, i width, i height, t viewer)  a shared frame buffer for a new viewer; a scale of
//                                                               0 is the device's own
//   Detach(t viewer)
//   Shown(t viewer, u sequence)        the viewer has copied that frame: the host may write the buffer again
//   Touch(t viewer, i phase, d x, d y) a finger on the screen, in points (phases as UITouchPhase)
//   Key(t viewer, s key, b down)       a hardware key by name (keyName)
//   signal Frame(t viewer, u sequence, a(iiii) changed), sent to the viewer alone
// The frame buffer is shared memory of width x height premultiplied ARGB32 pixels, rows packed.
namespace display {
inline constexpr const char* kPath = "/org/tessra/Display";
inline constexpr const char* kInterface = "org.tessra.Display";
inline constexpr const char* kAttach = "Attach";
inline constexpr const char* kDetach = "Detach";
inline constexpr const char* kShown = "Shown";
inline constexpr const char* kTouch = "Touch";
inline constexpr const char* kKey = "Key";
inline constexpr const char* kFrameSignal = "Frame";
// Limits both sides hold to: a frame's sides in pixels, the scales asked for, the rectangles of one frame.
inline constexpr int kMaxSide = 8192;
inline constexpr double kMinScale = 0.25;
inline constexpr double kMaxScale = 4;
inline constexpr size_t kMaxRects = 64;

// The wire name of a key ("home", "lock", "siri", "spotlight", "volume-up", "volume-down", "volume-both", "side").
std::string_view keyName(DisplayKey key);
// The key of a wire name; nothing for an unknown one.
std::optional<DisplayKey> keyNamed(std::string_view name);
}  // namespace display

}  // namespace platform
