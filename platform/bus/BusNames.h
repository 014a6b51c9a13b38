#pragma once

namespace platform::bus {

// The names the device's processes agree on over the private bus. Each is
// defined here once.

// Darwin and distributed notifications are broadcast signals from this path.
inline constexpr const char* kNotificationPath = "/org/tessra/Notifications";
// Darwin notification: signal Post(s name).
inline constexpr const char* kDarwinInterface = "org.tessra.Darwin";
// Distributed notification: signal Post(s name, s userInfo), the user info as
// XML property-list text ("" when there is none).
inline constexpr const char* kDistributedInterface = "org.tessra.Distributed";
inline constexpr const char* kPostSignal = "Post";

// The control channel a host exports: method Run(s command, as args) -> (i status, s output).
inline constexpr const char* kControlPath = "/org/tessra/Control";
inline constexpr const char* kControlInterface = "org.tessra.Control";
inline constexpr const char* kRunMethod = "Run";
// The bus name the home-screen host owns for its control channel.
inline constexpr const char* kSpringBoardBusName = "org.tessra.SpringBoard";

}  // namespace platform::bus
