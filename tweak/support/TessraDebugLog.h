#pragma once

#include <string>

#include "platform/runtime/Ref.h"

namespace platform {
class Object;
}

// The connection to the maker's debug log. At start-up the plug-in loads the
// debug-client library and, when its class exists and the server file is
// installed, creates the two clients and configures them. A line is sent only
// while both the class and the server file exist; otherwise it goes nowhere.
// Process-wide; main thread only.
class TessraDebugLog {
 public:
  static constexpr const char* kClientLibraryPath = "/usr/lib/KLDebugClient.dylib";
  static constexpr const char* kServerLibraryPath = "/Library/MobileSubstrate/DynamicLibraries/KLDebugServer.dylib";
  static constexpr const char* kClientIdentifier = "com.kelvane.tessra2";
  static constexpr const char* kSecondClientIdentifier = "com.kelvane.tessra2.2";

  // Loads the client library and creates and configures both clients (start-up step 7).
  static void setUp();
  // Sends one line through the first client when the client class and the server file exist.
  static void log(const std::string& line);
  // printf-style convenience for the engine's lines ("%s : Set volume %f").
  static void logf(const char* format, ...) __attribute__((format(printf, 1, 2)));

 private:
  static platform::Ref<platform::Object> makeClient(const char* identifier);
  static bool serverInstalled();
};
