#include "tweak/controls/HapticFeedbackHelper.h"

#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/AudioToolbox.h"

using platform::id;
using platform::msgSend;

namespace {

platform::ClassHandle gDeviceClass{"UIDevice"};
platform::ClassHandle gImpactGeneratorClass{"UIImpactFeedbackGenerator"};

// UIDevice _feedbackSupportLevel: 1 system sounds only, 2 impact feedback generator.
constexpr long kSystemSoundFeedback = 1;
constexpr long kImpactFeedback = 2;

}  // namespace

void HapticFeedbackHelper::sendImpact() { sendImpactWithStyle(kStyleLight); }

void HapticFeedbackHelper::sendImpactWithStyle(long style) {
  id device = msgSend<id>(gDeviceClass.get(), SELECTOR("currentDevice"));
  const long level = platform::valueForKey<long>(device, "_feedbackSupportLevel");
  if (level == kSystemSoundFeedback) {
    platform::AudioServicesPlaySystemSound(style == kStyleHeavy ? kPopSound : kPeekSound);
  } else if (level == kImpactFeedback) {
    platform::Class* generatorClass = gImpactGeneratorClass.get();
    if (!generatorClass) return;
    platform::Ref<platform::Object> generator = platform::class_createInstance(generatorClass);
    msgSend<id, long>(generator.get(), SELECTOR("initWithStyle:"), style);
    msgSend<void>(generator.get(), SELECTOR("impactOccurred"));
  }
}
