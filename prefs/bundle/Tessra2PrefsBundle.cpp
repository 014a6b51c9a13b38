// The settings bundle's load-time entry: when the Settings app loads
// Tessra2Prefs.bundle/Tessra2Prefs, its page classes become available by name.
#include "prefs/TessraPrefsClasses.h"

extern "C" {

__attribute__((constructor)) void Tessra2PrefsBundleLoaded() { TessraPrefsClasses::registerAll(); }
}
