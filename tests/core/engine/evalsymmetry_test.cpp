// The evaluation sees both colours alike: a position turned half round, with
// the colours exchanged and the other side to move (and the computer on the
// other side), scores the same for the side to move. A term written for one
// colour and forgotten or mistyped for the other breaks it.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/engine/searchsetup.h"
#include "core/engine/evalfamily.h"
#include "core/engine/evaluate.h"
#include "core/engine/search_fixture.h"
#include "core/rules/notation.h"

using namespace m8;
using m8::testing::SearchGame;
using m8::testing::StartSearchVariant;

namespace {

// `digits` turned half round with the colours exchanged.
std::string Mirrored(const std::string& digits) {
  static const char kSwap[] = "02143";
  std::string m(64, '0');
  for (int i = 0; i < 64; ++i) m[63 - i] = kSwap[digits[i] - '0'];
  return m;
}

// A random position on the squares `playable` allows: a few men of each
// colour, never on the row where they would already be crowned, and a few
// kings.
std::string RandomPosition(std::mt19937& rng, const std::string& playable) {
  std::string d(64, '0');
  std::uniform_int_distribution<int> square(0, 63), count(1, 7), kings(0, 2);
  auto place = [&](char piece, int n) {
    for (int placed = 0, tries = 0; placed < n && tries < 1000; ++tries) {
      const int i = square(rng);
      const int row = i / 8;
      if (playable[i] != '1' || d[i] != '0') continue;
      if ((piece == '1' && row == 7) || (piece == '2' && row == 0)) continue;
      d[i] = piece;
      ++placed;
    }
  };
  place('1', count(rng));
  place('2', count(rng));
  place('3', kings(rng));
  place('4', kings(rng));
  return d;
}

// The squares in play: those of the start position's parity, or all of them
// when the start position uses both colours.
std::string PlayableSquares(const std::string& start) {
  bool parity[2] = {false, false};
  for (int i = 0; i < 64; ++i)
    if (start[i] != '0') parity[(i / 8 + i % 8) % 2] = true;
  std::string p(64, '0');
  for (int i = 0; i < 64; ++i)
    if (parity[(i / 8 + i % 8) % 2]) p[i] = '1';
  return p;
}

int ScoreOf(SearchGame& t, const std::string& digits, int side, int rootSide, int family, const char* variant) {
  GameState& g = *t.g;
  if (variant == nullptr) {
    t.Setup(digits, side, family);
  } else {
    std::string error;
    if (!StartSearchVariant(g, variant, digits, side, &error)) throw error;
  }
  PrepareFullStrengthSearch(g);  // no noise
  if (family > 0 && g.Eval.StandardRuleSet != family) throw std::string("the family was not kept");
  g.Eval.RootSide = rootSide;
  // Each family scores with its own evaluator, as its search nodes do.
  PrepareFamilyEvaluation(g);
  switch (family) {
    case 1: return Evaluate1(g, -kInfinity, kInfinity, side);
    case 2: return Evaluate2(g, -kInfinity, kInfinity, side);
    case 3:
    case 4: return Evaluate34(g, -kInfinity, kInfinity, side);
    default: return Evaluate(g, -kInfinity, kInfinity, side);
  }
}

}  // namespace

TEST(Evaluate, TheMirroredPositionWithTheOtherSideToMoveScoresTheSame) {
  struct Family {
    const char* name;
    int family;           // a built-in engine family, or 0
    const char* variant;  // a variant file for the generic engine
  };
  const Family families[] = {
      {"generic, American rules", 0, nullptr},
      {"built-in set 1", 1, nullptr},
      {"built-in set 2", 2, nullptr},
      {"built-in set 3", 3, nullptr},
      {"built-in set 4", 4, nullptr},
      {"generic, Turkish", 0, "Turkish Checkers"},
      {"generic, Thai", 0, "Thai Checkers"},
      {"generic, Pool", 0, "Pool Checkers"},
  };
  const std::string americanStart = "1010101001010101101010100000000000000000020202022020202002020202";
  std::mt19937 rng(20261211);
  for (const Family& f : families) {
    SCOPED_TRACE(f.name);
    SearchGame t;
    std::string start = americanStart;
    if (f.variant != nullptr) {
      std::string error;
      ASSERT_TRUE(StartSearchVariant(*t.g, f.variant, "", 1, &error)) << error;
      start = BoardToSetupString(t.g->board);
    }
    const std::string playable = PlayableSquares(start);
    for (int n = 0; n < 60; ++n) {
      const std::string d = RandomPosition(rng, playable);
      const int side = n % 2 == 0 ? 1 : -1;
      const int rootSide = n % 3 == 0 ? 1 : -1;
      SCOPED_TRACE(d + (side == 1 ? " w" : " b"));
      SearchGame a, b;
      const int score = ScoreOf(a, d, side, rootSide, f.family, f.variant);
      const int mirrored = ScoreOf(b, Mirrored(d), -side, -rootSide, f.family, f.variant);
      EXPECT_EQ(score, mirrored);
    }
  }
}
