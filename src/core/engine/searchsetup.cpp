#include "core/engine/searchsetup.h"

#include "core/engine/evaluate.h"
#include "core/rules/movegen.h"

namespace m8 {

void PrepareFullStrengthSearch(PositionState& g) {
  g.Eval.NoiseAmplitude = 0;
  g.Eval.EvalExtraTerm = 1;
  SetPhaseThresholds(g);
  ResetPly(g);
}

}  // namespace m8
