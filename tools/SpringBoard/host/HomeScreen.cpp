#include "tools/SpringBoard/host/HomeScreen.h"

#include "platform/runtime/MessageSend.h"
#include "platform/springboard/DeviceModel.h"

namespace tessra::device {

void HomeScreen::appear(platform::springboard::DeviceModel& model) {
  platform::id controller = model.sharedObject("SBIconController");
  platform::msgSend<void, bool>(controller, SELECTOR("viewWillAppear:"), true);
  platform::msgSend<void, bool>(controller, SELECTOR("viewDidAppear:"), true);
}

}  // namespace tessra::device
