// The rows of the benchmark table: each is one operation as the device runs
// it (a keyboard load, a paint, a redraw, a tap through the window
// procedure, the options dialog opened and closed), with what must be in
// place before it is timed and a check that it really did its work.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// What a batch of operations cost, per operation.
struct PerOperation {
  double reads = 0;         // ReadFile
  double allocations = 0;   // LocalAlloc (LocalAllocTrace included)
  double reallocations = 0; // LocalReAlloc
  double gdiObjects = 0;    // pens, brushes, fonts, bitmaps created
  double dcs = 0;           // device contexts created or handed out
  double callbacks = 0;     // calls that reached the SIP manager's callback
};

struct Row {
  const char* id;     // the benchmark's name
  const char* title;  // as the table shows it
  // Run before a batch, outside the timing; false when the row cannot run.
  bool (*prepare)();
  void (*run)();
  // After a batch of `operations`: empty when the batch did its work, else
  // what went wrong.
  std::string (*check)(int64_t operations, const PerOperation& cost);
  // Operations counted under callgrind (one more runs first, uncounted).
  int callgrindOperations;
  // Counted under callgrind in a process of its own, beside the others, and
  // without the uncounted first operation: one operation costs billions of
  // instructions, beside which lazily made state is noise.
  bool heavy = false;
};

const std::vector<Row>& Rows();

}  // namespace bench
