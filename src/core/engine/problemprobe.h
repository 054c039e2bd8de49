// The hint search: the root moves probed at growing depths, problems noted.
#pragma once

#include "core/state.h"

namespace m8 {

// Repeats the stored hint ("Try 9-14", title "Hint"), or, without one, probes
// the root moves at depths 1..PlyValuePlies and appends a problem line to the
// problem window's text (Driver.ProblemText) when the best score differs from
// iniScore by more than 100 and its line holds a capture that does not begin
// it (or scores beyond +-31000).
void ComputeHint(PositionState& g, int iniScore);

}  // namespace m8
