#include "core/ruleset.h"

namespace m8 {

PromoTable StandardPromoSquares() {
  PromoTable t;
  for (auto& side : t) side.fill(-1);
  t[0][0] = 92, t[0][1] = 94, t[0][2] = 96, t[0][3] = 98;
  t[1][0] = 21, t[1][1] = 23, t[1][2] = 25, t[1][3] = 27;
  return t;
}

}  // namespace m8
