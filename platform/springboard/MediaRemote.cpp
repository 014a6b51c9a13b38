#include "platform/springboard/MediaRemote.h"

#include "platform/springboard/DeviceState.h"

namespace platform {

bool MRMediaRemoteSendCommand(int command, const plist::Value&) {
  springboard::DeviceState::shared().audio().receiveMediaRemoteCommand(command);
  return true;
}

}  // namespace platform
