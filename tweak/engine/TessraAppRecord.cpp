#include "tweak/engine/TessraAppRecord.h"

#include "platform/runtime/Associations.h"
#include "platform/runtime/Runtime.h"

namespace {

using platform::id;
using platform::SEL;

// The address that keys the record among the application's associated values.
const char kRecordKey = 0;

double get_volumeBeforeOpening(id self, SEL) {
  auto* record = TessraAppRecord::find(self);
  return record ? record->volumeBeforeOpening : TessraAppRecord::kNotRecorded;
}
void setVolumeBeforeOpening(id self, SEL, double value) {
  if (auto* record = TessraAppRecord::of(self)) record->volumeBeforeOpening = value;
}
double get_brightnessBeforeOpening(id self, SEL) {
  auto* record = TessraAppRecord::find(self);
  return record ? record->brightnessBeforeOpening : TessraAppRecord::kNotRecorded;
}
void setBrightnessBeforeOpening(id self, SEL, double value) {
  if (auto* record = TessraAppRecord::of(self)) record->brightnessBeforeOpening = value;
}
platform::plist::Value get_togglesValuesBeforeOpening(id self, SEL) {
  auto* record = TessraAppRecord::find(self);
  return platform::plist::Value(record ? record->togglesValuesBeforeOpening : platform::plist::Dictionary());
}
void setTogglesValuesBeforeOpening(id self, SEL, platform::plist::Value value) {
  if (auto* record = TessraAppRecord::of(self))
    record->togglesValuesBeforeOpening = value.isDictionary() ? value.dictionary() : platform::plist::Dictionary();
}
bool get_valuesApplied(id self, SEL) {
  auto* record = TessraAppRecord::find(self);
  return record && record->valuesApplied;
}
void set_valuesApplied(id self, SEL, bool value) {
  if (auto* record = TessraAppRecord::of(self)) record->valuesApplied = value;
}

}  // namespace

TessraAppRecord* TessraAppRecord::of(platform::Object* application) {
  if (!application) return nullptr;
  if (auto existing = platform::getAssociatedValue<TessraAppRecord>(application, &kRecordKey)) return existing.get();
  auto record = std::make_shared<TessraAppRecord>();
  platform::setAssociatedValue(application, &kRecordKey, record);
  return record.get();
}

TessraAppRecord* TessraAppRecord::find(const platform::Object* application) {
  return platform::getAssociatedValue<TessraAppRecord>(application, &kRecordKey).get();
}

void TessraAppRecord::installProperties() {
  platform::Class* cls = platform::objc_getClass("SBApplication");
  if (!cls) return;
  using platform::sel_registerName;
  platform::class_addMethod(cls, sel_registerName("volumeBeforeOpening"), &get_volumeBeforeOpening);
  platform::class_addMethod(cls, sel_registerName("setVolumeBeforeOpening:"), &setVolumeBeforeOpening);
  platform::class_addMethod(cls, sel_registerName("brightnessBeforeOpening"), &get_brightnessBeforeOpening);
  platform::class_addMethod(cls, sel_registerName("setBrightnessBeforeOpening:"), &setBrightnessBeforeOpening);
  platform::class_addMethod(cls, sel_registerName("togglesValuesBeforeOpening"), &get_togglesValuesBeforeOpening);
  platform::class_addMethod(cls, sel_registerName("setTogglesValuesBeforeOpening:"), &setTogglesValuesBeforeOpening);
  platform::class_addMethod(cls, sel_registerName("tessra_valuesApplied"), &get_valuesApplied);
  platform::class_addMethod(cls, sel_registerName("setTessra_valuesApplied:"), &set_valuesApplied);
}
