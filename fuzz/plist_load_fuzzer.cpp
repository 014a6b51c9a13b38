// Feeds arbitrary bytes through the load path of a preference file and checks
// what comes out: nothing may crash, leak or run away, a file that loads must
// render as XML (unless that is over the size cap), and the XML must load
// again to the same rendering.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyListBinaryCheck.h"
#include "platform/foundation/PropertyListFile.h"

using platform::plist::Limits;
using platform::plist::PropertyListBinaryCheck;
using platform::plist::PropertyListFile;
using platform::plist::ReadStatus;

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "plist_load_fuzzer: %s: %s\n", what, detail.c_str());
  std::abort();
}

// The bytes as a file, read back through the size cap.
void checkFileRead(std::string_view bytes, const Limits& limits) {
  static int fd = memfd_create("plist-fuzz", MFD_CLOEXEC);
  if (fd < 0) return;
  if (ftruncate(fd, 0) != 0 || pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) return;
  auto file = PropertyListFile::readBytes("/proc/self/fd/" + std::to_string(fd), limits.maxBytes);
  if (bytes.size() > limits.maxBytes) {
    if (file.status != ReadStatus::TooLarge) fail("oversized file not refused", file.message);
  } else if (!file.ok() || file.bytes != bytes) {
    fail("file read changed the bytes", file.message);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Small caps so that the limits themselves are reached by small inputs.
  Limits limits;
  limits.maxBytes = 64 * 1024;
  limits.maxDepth = 32;
  limits.maxNodes = 2000;
  limits.maxDictionaryEntries = 100;
  limits.maxExpandedBytes = 256 * 1024;

  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  checkFileRead(bytes, limits);

  auto loaded = PropertyListFile::parse(bytes, limits);
  if (!loaded.ok()) {
    if (loaded.message.empty()) fail("refusal without a reason", "");
    return 0;
  }
  std::string error;
  auto xml = PropertyListFile::toXml(loaded.value, limits, &error);
  if (!xml) {
    // Whatever loads from XML can be written back, unless its rendering is over the size cap: reader and writer
    // accept the same text. A binary file may hold text or dates that XML cannot carry; those are refused, and
    // say so.
    const bool binary = PropertyListBinaryCheck::looksBinary(bytes);
    if (error.find("over the limit") == std::string::npos &&
        !(binary && error.find("cannot be stored") != std::string::npos))
      fail("loaded value could not be written", error);
    return 0;
  }
  auto again = PropertyListFile::parse(*xml, limits);
  if (!again.ok()) fail("written XML does not load", again.message + "\n" + *xml);
  auto xmlAgain = PropertyListFile::toXml(again.value, limits, &error);
  if (!xmlAgain) fail("reloaded value could not be written", error);
  if (*xmlAgain != *xml) fail("XML changed across a write and a read", *xml + "\n----\n" + *xmlAgain);
  return 0;
}
