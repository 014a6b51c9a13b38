#include "tools/SpringBoard/host/HomeScreen.h"

#include "platform/runtime/MessageSend.h"
#include "platform/springboard/SharedObjects.h"

namespace tessra::device {

void HomeScreen::appear() {
  platform::id controller = platform::springboard::SharedObjects::shared().get("SBIconController");
  platform::msgSend<void, bool>(controller, SELECTOR("viewWillAppear:"), true);
  platform::msgSend<void, bool>(controller, SELECTOR("viewDidAppear:"), true);
}

}  // namespace tessra::device
