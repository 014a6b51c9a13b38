// The device's home-screen process. Named SpringBoard, as on the phone, so
// that the plug-in's process-name check passes.
#include <iostream>

#include "tools/SpringBoard/host/HostOptions.h"
#include "tools/SpringBoard/host/SpringBoardHost.h"

int main(int argc, char** argv) {
  tessra::device::SpringBoardHost host(tessra::device::HostOptions::parse(argc, argv), std::cout, std::cerr);
  return host.run();
}
