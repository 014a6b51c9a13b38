#pragma once

#include <memory>
#include <vector>

#include "platform/foundation/FileFlush.h"

namespace platform {

class PreferenceDomain;

// A stretch of one thread's work whose preference saves are published at once
// and made durable when it ends. While one is alive on a thread, a save there
// replaces its domain's file straight away (every process reads the new
// values, never a partial file) and leaves the flush of the file and its
// folder to this object; complete(), or the end of the scope, flushes them in
// the order they were saved. A writer that tells other processes of a change
// can so tell them before the disk has it, and still report its work done only
// once it is durable. A file whose flush fails is written again the durable
// way from what the domain holds, so the value is never lost. Scopes may nest:
// a save belongs to the innermost. Lives on the stack of one thread.
class DeferredDurability {
 public:
  DeferredDurability();
  // Completes what is still owed.
  ~DeferredDurability();
  DeferredDurability(const DeferredDurability&) = delete;
  DeferredDurability& operator=(const DeferredDurability&) = delete;

  // Flushes every file replaced so far under this scope; false when one could not be made durable even by
  // writing it again (logged).
  bool complete();

  // Whether the saves of this thread are deferred now.
  static bool active();
  // Takes the flush owed to the file `domain` just replaced (on the thread of the innermost scope).
  static void owe(FileFlush flush, std::weak_ptr<PreferenceDomain> domain);

 private:
  friend class DeferredDurabilityTestApi;
  // The innermost scope of this thread, or null.
  static DeferredDurability* current();
  struct Owed {
    FileFlush flush;
    std::weak_ptr<PreferenceDomain> domain;
  };

  DeferredDurability* outer_;
  std::vector<Owed> owed_;
};

}  // namespace platform
