#include "tweak/testing/VolumeApplierTestApi.h"

void VolumeApplierTestApi::reset() { VolumeApplier::changing_.store(false, std::memory_order_release); }
