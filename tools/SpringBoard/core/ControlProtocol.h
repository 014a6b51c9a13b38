#pragma once

namespace tessra::device::control {

// The requests the `tessra` command sends a running SpringBoard host over the
// device bus's control channel (org.tessra.Control.Run(command, args)), and
// what they answer. Trace lines travel with a cursor so that each client sees
// each line once; the answer's first line is "cursor N lines K", followed by K
// trace lines, followed by the request's own message.

// run CURSOR LINE: runs one script line; status kDone, kExpectFailed or kRefused. A `wait`
// line is only noted in the trace: the client does the waiting.
inline constexpr const char* kRun = "run";
// trace CURSOR: the trace lines after CURSOR.
inline constexpr const char* kTrace = "trace";
// begin CURSOR: a script starts (what its expectations count since its start, such as the
// simulated home presses, counts from now); answers as trace.
inline constexpr const char* kBegin = "begin";
// state: the device's state as text.
inline constexpr const char* kState = "state";
// ping: answers "SpringBoard <pid>" once the host is up.
inline constexpr const char* kPing = "ping";
// quit: the host ends its main loop and exits.
inline constexpr const char* kQuit = "quit";

// Statuses of run, also the exit statuses of a script run.
inline constexpr int kDone = 0;
inline constexpr int kExpectFailed = 1;
inline constexpr int kRefused = 2;

}  // namespace tessra::device::control
