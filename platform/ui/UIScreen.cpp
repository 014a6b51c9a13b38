#include "platform/ui/UIScreen.h"

namespace platform {

UIScreen& UIScreen::mainScreen() {
  static UIScreen* screen = new UIScreen();
  return *screen;
}

}  // namespace platform
