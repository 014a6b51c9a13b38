#pragma once

namespace platform {

// Test-only access to BeneathRoot: makes it take the path of kernels without
// openat2 (one component at a time with O_NOFOLLOW), so that both are tested.
class BeneathRootTestApi {
 public:
  // While true, openat2 is not tried.
  static void setComponentWalkOnly(bool walkOnly);
};

}  // namespace platform
