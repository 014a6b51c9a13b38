#pragma once

#include <any>
#include <memory>

#include "tweak/toast/TSToastStyle.h"
#include "tweak/toast/ToastPosition.h"

// The process-wide defaults of toasts: whether a tap dismisses one (YES),
// whether toasts on one host wait in a queue so that only one shows at a
// time (NO), the style used when none is given (the default look), the
// default duration (3 s) and the default position (bottom). Created once,
// thread-safely, on first use; its fields are read and written on the main
// thread. The class operations read and write the shared instance.
class TSToastManager {
 public:
  // The one manager of the process.
  static TSToastManager& sharedManager();

  static std::shared_ptr<TSToastStyle> sharedStyle();
  // A null style is ignored.
  static void setSharedStyle(std::shared_ptr<TSToastStyle> style);
  static bool isTapToDismissEnabled();
  static void setTapToDismissEnabled(bool enabled);
  static bool ts_isQueueEnabled();
  static void ts_setQueueEnabled(bool enabled);
  static double defaultDuration();
  static void setDefaultDuration(double seconds);
  static ToastPosition defaultPosition();
  // Accepts a position given as a name (std::string, const char*), a point (CGPoint) or a
  // ToastPosition; anything else (a number, nothing) is ignored and the previous default stays.
  static void setDefaultPosition(const std::any& position);

 private:
  TSToastManager();

  bool tapToDismissEnabled_ = true;
  bool queueEnabled_ = false;
  std::shared_ptr<TSToastStyle> sharedStyle_;
  double defaultDuration_ = 3.0;
  ToastPosition defaultPosition_{ToastPositionBottom};
};
