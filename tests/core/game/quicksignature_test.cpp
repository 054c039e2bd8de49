// The quick searches' signature: the hint, the hint's problem probe and the
// ply value search of one position, each over a fixed set of positions of
// several variants, with what each one tells and the nodes it visits. Also
// the same searches stopped by the user at a fixed node, so that what a stop
// leaves behind is pinned as well. Any change to the quick root loop, the
// quick nodes or the evaluation moves these texts; when such a change is
// meant, the table is updated with it.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/engine/problemprobe.h"
#include "core/engine/plyvaluesearch.h"
#include "core/game/hint.h"
#include "core/game/toolsetup.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/state.h"

namespace m8 {
namespace {

// Records the messages and presses Cancel at a chosen node (the nodes pump
// the events once each).
class StopHost : public Host {
 public:
  GameState* g = nullptr;
  long pumps = 0;
  long stopAt = -1;
  std::vector<std::string> messages;
  void pump() override {
    if (++pumps == stopAt) g->P.StopRequest = 1;
  }
  // The noise the hint adds to the evaluation draws from a generator seeded
  // with this clock.
  double secondsSinceMidnight() override { return 1000.0; }
  void message(Icon, std::string_view title, std::string_view text) override {
    messages.push_back(std::string(title) + "|" + std::string(text));
  }
};

enum class Caller { Hint, ProblemProbe, PlyValue };

struct Position {
  const char* variant;
  const char* setup;  // empty: the variant's start
  int side;
  int plies;  // depth of the problem probe and the ply value search
  int moves[8] = {};  // played into the game first: from and to cells, 0 ends
};

std::string WithoutLineEnds(std::string s) {
  std::string out;
  for (char c : s)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

// Plays the move from cell `from` to cell `to` into the game as the move path
// records it, so that the draw rules find it in the history.
bool PlayCells(GameState& g, int from, int to) {
  ResetPly(g);
  GenerateLegalMoves(g);
  for (int i = g.P.PlyStart[0]; i < g.P.PlyStart[1]; ++i) {
    const MoveRecord m = g.P.MoveList[i];
    if (m.From != from || m.To != to || !PlayMoveIndex(g, i)) continue;
    const int ply = g.P.GamePly;
    RecordGameMove(g, m);
    g.Game.MaterialBalanceHistory[ply] = g.P.MaterialBalance[g.P.Ply];
    g.Game.BoardMaterialHistory[ply] = g.P.BoardMaterial[g.P.Ply];
    g.Game.GameMoves[ply + 1].From = 0;
    CheckDrawRules(g);
    ResetPly(g);
    return true;
  }
  return false;
}

// Runs one caller on the position and tells what it left.
std::string RunQuick(Caller caller, const Position& p, long stopAt = -1) {
  auto g = std::make_unique<GameState>();
  StopHost host;
  host.g = g.get();
  g->host = &host;
  g->ProgramFolder = M8_BIN_DIR;
  std::string error;
  if (!SetupAnalysisPosition(*g, p.variant, p.setup, p.side, &error)) return "setup: " + error;
  for (int k = 0; k + 1 < 8 && p.moves[k] != 0; k += 2)
    if (!PlayCells(*g, p.moves[k], p.moves[k + 1])) return "no move " + std::to_string(p.moves[k]);
  g->Opt.ShowCalculation = 1;
  host.stopAt = stopAt;
  const uint64_t before = g->Search.Nodes;
  std::string out;
  switch (caller) {
    case Caller::Hint: {
      ShowHint(*g);
      for (const std::string& m : host.messages) out += m + " ";
      break;
    }
    case Caller::ProblemProbe: {
      g->PlyValue.PlyValuePlies = p.plies;
      ComputeHint(*g, 1000);
      out = "best=" + g->Texts.DisplayMoveText + " problem=" + g->Driver.ProblemText +
            " out=" + g->Search.EngineOutputText + " ";
      break;
    }
    case Caller::PlyValue: {
      PlyValueState& pv = g->PlyValue;
      pv.PlyValuePlies = p.plies;
      pv.PlyValues.assign(1, std::vector<int32_t>(p.plies + 1, 0));
      pv.PlyValueDiff.assign(1, 0);
      pv.PlyValueTime.assign(1, 0);
      pv.PlyValueLines.assign(1, "");
      pv.PlyValueMarks.assign(1, 0);
      PlyValueSearchOne(*g, 0);
      out = "values=";
      for (int d = 1; d <= p.plies; ++d) out += std::to_string(pv.PlyValues[0][d]) + ",";
      out += " diff=" + SignedText(pv.PlyValueDiff[0]) + " mark=" + SignedText(pv.PlyValueMarks[0]) +
             " line=" + pv.PlyValueLines[0] + " out=" + g->Search.PlyValueOutputText + " ";
      break;
    }
  }
  out = WithoutLineEnds(out) + "nodes=" + std::to_string(g->Search.Nodes - before);
  if (g->P.SearchAborted != 0) out += " aborted";
  return out;
}

// clang-format off
const Position kAmericanStart{"American Checkers", "", -1, 5};
const Position kAmericanMiddle{"American Checkers", "1010101001010101101010000000000000100020020202022020202002020202", -1, 4};
// One legal move, a capture that leaves Black without a piece.
const Position kAmericanLastCapture{"American Checkers", "0000000000000000001000000002000000000000000000000000000000000000", 1, 3};
const Position kRussianMiddle{"Russian Checkers", "0010101001010001101000100101000000002000000202022020202002020200", -1, 4};
const Position kItalianStart{"Italian Checkers", "", 1, 4};
const Position kPoolStart{"Pool Checkers", "", 1, 4};
const Position kTurkishStart{"Turkish Checkers", "", 1, 3};
const Position kThaiStart{"Thai Checkers", "", 1, 4};
const Position kAntiStart{"Anti Checkers", "", -1, 4};
const Position kGothicStart{"Gothic Checkers", "", 1, 3};
// Two where a later move's second probe does not confirm its first one.
const Position kGothicMiddle{"Gothic Checkers", "0010101001010001101000100101000000002000000202022020202002020200", 1, 3};
const Position kTurkishMiddle{"Turkish Checkers", "0010101001010001101000100101000000002000000202022020202002020200", 1, 3};
// The kings went there and back: a root move that goes there again repeats a
// position of the game, which the draw rules score.
const Position kKingsShuffled{"American Checkers", "1010000000000000000000000300000000000000000004000000000000000202", -1, 3, {76, 65, 52, 41, 65, 76, 41, 52}};

struct SignatureCase {
  const Position* position;
  const char* hint;
  const char* problemProbe;
  const char* plyValue;
};

const SignatureCase kSignature[] = {
    {&kAmericanStart,
     "Hint|Try  9-14 nodes=125",
     "best=11-15 problem=Score: 1   iniScore: 1000   Depth: 5    11-15 22-18 15x22 25x18 8-11 29-25 4-8  out=Score: 1   iniScore: 1000   Depth: 5 nodes=4387",
     "values=3,0,34,0,4, diff= 4 mark= 0 line= 11-15 22-18 15x22 25x18 8-11 29-25 4-8  out=Score: 4   iniScore: 0   Depth: 5 11-15 22-18 15x22 25x18 8-11 29-25 4-8  nodes=3897"},
    {&kAmericanMiddle,
     "Hint|Try 10x17 nodes=96",
     "best=9x18 problem=Score: 173   iniScore: 1000   Depth: 4    9x18 23x14 10x17 21x14 6-10 22-17  out=Score: 173   iniScore: 1000   Depth: 4 nodes=794",
     "values=169,147,169,185, diff= 38 mark= 0 line= 9x18 23x14 10x17 21x14 6-10 22-17 10-15  out=Score: 185   iniScore: 0   Depth: 4 9x18 23x14 10x17 21x14 6-10 22-17 10-15  nodes=457"},
    {&kAmericanLastCapture,
     "Hint|Try 22x15 nodes=3",
     "best=22x15 problem= out=no calculation nodes=6",
     "values=32000,32000,32000, diff= 0 mark= 1 line= 22x15  out=Score: 32000   iniScore: 0   Depth: 3 22x15  nodes=4"},
    {&kRussianMiddle,
     "Hint|Try 12-16 nodes=880",
     "best=12-16 problem=Score: 21   iniScore: 1000   Depth: 4    12-16 17-14 10x17 21x14 16-19  out=Score: 21   iniScore: 1000   Depth: 4 nodes=1556",
     "values=24,22,20,34, diff= 12 mark= 0 line= 12-16 17-14 10x17 21x14 16-19 31-27  out=Score: 34   iniScore: 0   Depth: 4 12-16 17-14 10x17 21x14 16-19 31-27  nodes=1232"},
    {&kItalianStart,
     "Hint|Try 21-18 nodes=132",
     "best=21-18 problem= out=Score:-6   iniScore: 1000   Depth: 4 nodes=1616",
     "values=-4,0,36,0, diff= 0 mark= 0 line= 21-18 12-15 25-21 8-12  out=Score: 0   iniScore: 0   Depth: 4 21-18 12-15 25-21 8-12  nodes=905"},
    {&kPoolStart,
     "Hint|Try  9-14 nodes=1213",
     "best=9-14 problem= out=no calculation nodes=1664",
     "values=6,0,10,0, diff= 0 mark= 0 line= 9-14 24-19 5-9 28-24  out=Score: 0   iniScore: 0   Depth: 4 9-14 24-19 5-9 28-24  nodes=1031"},
    {&kTurkishStart,
     "Hint|Try a3-a4 nodes=303",
     "best=h3-h4 problem= out=Score:-17   iniScore: 1000   Depth: 3 nodes=649",
     "values=-15,-15,0, diff= 15 mark= 0 line= h3-h4 a6-a5  out=Score: 0   iniScore: 0   Depth: 3 h3-h4 a6-a5  nodes=91"},
    {&kThaiStart,
     "Hint|Try 28-24 nodes=1493",
     "best=28-24 problem= out=Score:-3   iniScore: 1000   Depth: 4 nodes=2482",
     "values=-4,0,2,0, diff= 0 mark= 0 line= 28-24 5-9 24-19 9-14  out=Score: 0   iniScore: 0   Depth: 4 28-24 5-9 24-19 9-14  nodes=840"},
    {&kAntiStart,
     "Hint|Try 11-16 nodes=891",
     "best=10-15 problem=Score: 36   iniScore: 1000   Depth: 4    10-15 23-19 9-13 19x10 7x14 26-23  out=Score: 36   iniScore: 1000   Depth: 4 nodes=2077",
     "values=30,0,22,52, diff= 52 mark= 0 line= 11-16 24-20 9-13 20x11 7x16 27-24  out=Score: 52   iniScore: 0   Depth: 4 11-16 24-20 9-13 20x11 7x16 27-24  nodes=1189"},
    {&kGothicStart,
     "Hint|Try g2-f3 nodes=1574",
     "best=h2-g3 problem= out=Score:-11   iniScore: 1000   Depth: 3 nodes=5355",
     "values=-10,-10,0, diff= 10 mark= 0 line= h2-g3 a7-b6  out=Score: 0   iniScore: 0   Depth: 3 h2-g3 a7-b6  nodes=554"},
    {&kGothicMiddle,
     "Hint|Try d4-c4 nodes=7925",
     "best=d4-c4 problem= out=Score: 57   iniScore: 1000   Depth: 3 nodes=12678",
     "values=57,57,16, diff=-41 mark= 0 line= d4-c4 h6-g6  out=Score: 16   iniScore: 0   Depth: 3 d4-c4 h6-g6  nodes=1611"},
    {&kKingsShuffled,
     "Hint|Try 11-16 nodes=1391",
     "best=11-7 problem= out=Score: 24   iniScore: 1000   Depth: 3 nodes=844",
     "values=46,35,22, diff=-13 mark= 0 line=21-17 11-7 17-21 4-8  out=Score: 22   iniScore: 0   Depth: 321-17 11-7 17-21 4-8  nodes=200"},
    {&kTurkishMiddle,
     "Hint|Try b2-b3 nodes=6962",
     "best=c3-c4 problem= out=Score: 22   iniScore: 1000   Depth: 3 nodes=7481",
     "values=95,95,22, diff=-73 mark= 0 line= a3-b3 e7-e6  out=Score: 22   iniScore: 0   Depth: 3 a3-b3 e7-e6  nodes=1071"},
};

struct StopCase {
  Caller caller;
  const Position* position;
  long stopAt;  // the node whose events bring the Cancel
  const char* expected;
};

const StopCase kStops[] = {
    {Caller::Hint, &kAmericanMiddle, 1,
     "Hint|Try  9x18 nodes=1 aborted"},
    {Caller::Hint, &kAmericanMiddle, 40,
     "Hint|Try  9x18 nodes=43 aborted"},
    {Caller::Hint, &kRussianMiddle, 300,
     "Hint|Try 12-16 nodes=328 aborted"},
    {Caller::ProblemProbe, &kAmericanMiddle, 1,
     "best=9x18 problem= out=no calculation nodes=12 aborted"},
    {Caller::ProblemProbe, &kAmericanMiddle, 500,
     "best=9x18 problem=Score: 173   iniScore: 1000   Depth: 4    9x18 23x14 10x17 21x14 6-10 22-17  out=Score: 173   iniScore: 1000   Depth: 4 nodes=699 aborted"},
    {Caller::ProblemProbe, &kPoolStart, 1000,
     "best=9-14 problem= out=no calculation nodes=1010 aborted"},
    {Caller::PlyValue, &kAmericanMiddle, 1,
     "values=0,0,0,0, diff= 0 mark= 1 line= 9x18  out=Score: 0   iniScore: 0   Depth: 4 9x18  nodes=1 aborted"},
    {Caller::PlyValue, &kAmericanMiddle, 30,
     "values=169,0,0,0, diff= 0 mark= 1 line= 9x18  out=Score: 169   iniScore: 0   Depth: 4 9x18  nodes=31 aborted"},
    {Caller::PlyValue, &kAmericanMiddle, 300,
     "values=169,147,169,0, diff= 22 mark= 0 line= 9x18 23x14 10x17 21x14 6-10 22-17  out=Score: 169   iniScore: 0   Depth: 4 9x18 23x14 10x17 21x14 6-10 22-17  nodes=336 aborted"},
    {Caller::PlyValue, &kAmericanLastCapture, 2,
     "values=0,0,0, diff= 0 mark= 1 line= 22x15  out=Score: 0   iniScore: 0   Depth: 3 22x15  nodes=2 aborted"},
    {Caller::PlyValue, &kPoolStart, 700,
     "values=6,0,10,0, diff= 10 mark= 0 line= 9-14 24-19 5-9 28-24  out=Score: 0   iniScore: 0   Depth: 4 9-14 24-19 5-9 28-24  nodes=776 aborted"},
    {Caller::PlyValue, &kTurkishStart, 60,
     "values=-15,-15,0, diff= 0 mark= 0 line= h3-h4 a6-a5  out=Score: 0   iniScore: 0   Depth: 3 h3-h4 a6-a5  nodes=64 aborted"},
};
// clang-format on

std::string Name(const Position& p) { return std::string(p.variant) + " " + p.setup; }

TEST(QuickSearchSignature, HintProblemProbeAndPlyValuesOfFixedPositions) {
  for (const SignatureCase& c : kSignature) {
    SCOPED_TRACE(Name(*c.position));
    EXPECT_EQ(RunQuick(Caller::Hint, *c.position), c.hint);
    EXPECT_EQ(RunQuick(Caller::ProblemProbe, *c.position), c.problemProbe);
    EXPECT_EQ(RunQuick(Caller::PlyValue, *c.position), c.plyValue);
  }
}

TEST(QuickSearchSignature, AStopLeavesTheSameResults) {
  for (const StopCase& c : kStops) {
    SCOPED_TRACE(Name(*c.position) + " stop at " + std::to_string(c.stopAt));
    EXPECT_EQ(RunQuick(c.caller, *c.position, c.stopAt), c.expected);
  }
}

}  // namespace
}  // namespace m8
