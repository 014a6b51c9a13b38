#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessra::device {

// What one line of a scenario script asks for.
enum class ScriptVerb {
  Version,           // version X.Y (dry run, before anything else)
  Kind,              // kind phone|tablet (dry run, before anything else)
  App,               // app BUNDLE "Name" system|user
  Switch,            // switch NAME on|off|indeterminate
  Volume,            // volume F
  Brightness,        // brightness F
  Battery,           // battery PERCENT [charging]
  Dark,              // dark on|off
  MediaPlaying,      // media playing BUNDLE
  MediaStopped,      // media stopped
  Customize,         // customize BUNDLE [volume P|none] [brightness P|none] [NAME on|off|none]...
  Setting,           // setting KEY VALUE
  Open,              // open BUNDLE
  Quit,              // quit BUNDLE (swiped away in the switcher)
  Home,              // home
  Siri,              // siri on|off
  Spotlight,         // spotlight on|off
  Lock,              // lock
  Unlock,            // unlock
  Wait,              // wait SECONDS
  Answer,            // answer TITLE
  ExpectSwitch,      // expect NAME on|off
  ExpectVolume,      // expect volume F
  ExpectBrightness,  // expect brightness F
  ExpectAlert,       // expect alert "MESSAGE"|none
  State,             // state
  Settings,          // settings ... / expect page|row|rows|setting ... (SettingsCommandParser.h)
  // The screen (ScreenCommandParser, ScreenCommands); coordinates in points.
  TapPoint,            // tap X Y
  LongPress,           // longpress X Y [SECONDS]
  Drag,                // drag X1 Y1 X2 Y2 [SECONDS]
  TapIcon,             // tap icon BUNDLE
  PressIcon,           // press icon BUNDLE
  TapText,             // tap "TEXT"
  Swipe,               // swipe home|notifications|controlcenter
  Snapshot,            // snapshot FILE.png [--scale N]
  ExpectText,          // expect text "TEXT" / expect no text "TEXT"
  ExpectMenu,          // expect menu "TITLE"... / expect menu none
  PanelTap,            // panel tap NAME
  PanelSegment,        // panel segment Toggles|Behaviors
  PanelScroll,         // panel scroll P
  PanelSlider,         // panel slider volume|brightness P|reset
  PanelDismiss,        // panel dismiss
  ExpectPanel,         // expect panel open|closed
  ExpectRing,          // expect ring toggles|behaviors
  ExpectBottom,        // expect bottom "TEXT"|none
  ExpectButton,        // expect button NAME "BADGE"|none
  ExpectSlider,        // expect slider volume|brightness "TEXT"
  ExpectStored,        // expect stored BUNDLE NAME VALUE|none
  ActivatorSetup,      // activator installed|absent (dry run, before anything else)
  ControlCenter,       // controlcenter
  NotificationCenter,  // notificationcenter
  Reachability,        // reachability
  Button,              // button volumeup|volumedown|side down|up
  Buttons,             // buttons volumeup+volumedown down|up
  Activator,           // activator EVENT
  Banner,              // banner BUNDLE "TITLE" "MESSAGE" ["SUBTITLE"]
  SystemAlert,         // systemalert CLASS "TITLE"|nil "MESSAGE"|nil
  ExpectToast,         // expect toast "TITLE"|nil "MESSAGE"|nil, expect toast none
  ExpectToasts,        // expect toasts N
  ExpectBanner,        // expect banner shown|hidden
  ExpectSystemAlert,   // expect systemalert shown|hidden
  ExpectOverlay,       // expect controlcenter|notificationcenter|reachability opened|blocked
  ExpectHomePressed,   // expect home pressed N
  Orientation,         // orientation portrait|landscapeleft|landscaperight
};

// One level of a `customize` line: a percentage to store, or "none" to remove it.
struct CustomizedLevel {
  bool remove = false;
  double percent = 0;  // 0 to 100 when not removed
};

// One toggle or behaviour of a `customize` line: 1 on, 0 off, nothing for "none" (removed).
struct CustomizedToggle {
  std::string name;
  std::optional<int> state;
};

// The points of a touch command, in screen points: where it starts and (drag) ends.
struct TouchPoints {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// One understood line of a script. Only the fields of its verb are set.
struct ScriptCommand {
  ScriptVerb verb = ScriptVerb::State;
  size_t line = 0;   // 1-based line number in the script
  std::string text;  // the line as written, without surrounding blanks

  std::string name;         // bundle identifier, switch name, setting key, version, answer title
  std::string displayName;  // app: the name shown under the icon
  std::string value;        // setting: the value as written; expect alert: the message
  bool on = false;          // on/off, system (app), tablet (kind), "none" (expect alert), charging (battery)
  int switchState = 0;      // switch: 1 on, 0 off, -1 indeterminate
  double number = 0;        // volume, brightness (fractions), wait (seconds), battery (percent)

  std::optional<CustomizedLevel> volume;      // customize
  std::optional<CustomizedLevel> brightness;  // customize
  std::vector<CustomizedToggle> toggles;      // customize, in the order written
  // banner, systemalert, expect toast: the texts in the order written, nothing for nil; and the
  // presses of button and buttons (press type, 1 down or 0 up).
  std::vector<std::optional<std::string>> texts;
  std::vector<std::pair<long, double>> presses;

  TouchPoints points;               // tap, longpress, drag: from (and to)
  std::vector<std::string> titles;  // expect menu, in order

  // Whether the line only describes the device to create (version, kind).
  bool isDeviceSetup() const {
    return verb == ScriptVerb::Version || verb == ScriptVerb::Kind || verb == ScriptVerb::ActivatorSetup;
  }
};

}  // namespace tessra::device
