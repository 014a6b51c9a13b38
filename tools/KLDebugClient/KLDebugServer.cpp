// The maker's debug-log server, installed on the device at
// /Library/MobileSubstrate/DynamicLibraries/KLDebugServer.dylib. Its presence
// is what turns the debug client on; the library itself does nothing here.
extern "C" int KLDebugServerVersion() { return 1; }
