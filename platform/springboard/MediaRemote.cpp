#include "platform/springboard/MediaRemote.h"

#include "platform/springboard/DeviceModel.h"

namespace platform {

bool MRMediaRemoteSendCommand(int command, const plist::Value&) {
  springboard::DeviceModel::shared().audio().receiveMediaRemoteCommand(command);
  return true;
}

}  // namespace platform
