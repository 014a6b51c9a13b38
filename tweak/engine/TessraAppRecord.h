#pragma once

#include <memory>

#include "platform/foundation/PropertyList.h"
#include "platform/runtime/Object.h"

// What the engine remembers about one application while its customization is
// in force: the volume, brightness and switch states found just before it was
// applied, and whether it is applied now. One record per SpringBoard
// application object, attached to it on first use and living exactly as long
// as that object. The four values are also offered to the runtime as the
// properties volumeBeforeOpening, brightnessBeforeOpening,
// togglesValuesBeforeOpening and tessra_valuesApplied of SBApplication.
class TessraAppRecord {
 public:
  // Nothing to restore.
  static constexpr double kNotRecorded = -1.0;

  double volumeBeforeOpening = kNotRecorded;
  double brightnessBeforeOpening = kNotRecorded;
  // Toggle name -> 1 (was on) or 0 (was off), in the order recorded.
  platform::plist::Dictionary togglesValuesBeforeOpening;
  bool valuesApplied = false;

  // The record of `application`, created on first use; null for a null application.
  static TessraAppRecord* of(platform::Object* application);
  // The record of `application` if one was ever created, else null (reads make none).
  static TessraAppRecord* find(const platform::Object* application);

  // Adds the four properties (getters and setters) to the class "SBApplication", once.
  static void installProperties();
};
