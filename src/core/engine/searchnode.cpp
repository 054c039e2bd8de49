#include "core/engine/searchnode.h"

#include <algorithm>

#include "core/engine/evalfamily.h"
#include "core/engine/evaluate.h"
#include "core/engine/poskey.h"
#include "core/rules/movegen.h"

namespace m8 {

namespace {

// ---- what the members differ in -------------------------------------------

struct GenericEval {
  static int Run(PositionState& g, int a, int b, int side) { return EvaluateInSearch(g, a, b, side); }
};
struct Family1Eval {
  static int Run(PositionState& g, int a, int b, int side) { return Evaluate1(g, a, b, side); }
};
struct Family2Eval {
  static int Run(PositionState& g, int a, int b, int side) { return Evaluate2(g, a, b, side); }
};
struct Family34Eval {
  static int Run(PositionState& g, int a, int b, int side) { return Evaluate34(g, a, b, side); }
};

struct GenericGen {
  static void Run(PositionState& g, int mode) { GenerateMoves(g, mode); }
};
// The generators with a built-in rule set fixed in their code.
template <int Set>
struct FixedGen {
  static void Run(PositionState& g, int mode) {
    if constexpr (Set == 1) GenerateMoves1(g, mode);
    else if constexpr (Set == 2) GenerateMoves2(g, mode);
    else if constexpr (Set == 3) GenerateMoves3(g, mode);
    else GenerateMoves4(g, mode);
  }
};

// What a node at depth > 0 without any legal move scores.
enum class NoMoveScore {
  Loss,         // -32000: the parent turns it into a win
  Win,          // 31999 - Ply: the losing game
  RuleLoss,     // -(31999 - Ply): KingWin / WinAtPromo
  ByAntiMode,   // Win when AntiMode = 1, else Loss (the generic quick node)
};

template <class Eval, class Gen, bool Full, int Floor, bool AntiExtension, NoMoveScore NoMove>
struct Member {
  using Evaluator = Eval;
  using Generator = Gen;
  // Full nodes test the abort flag on entry and read BruteForce.
  static constexpr bool kFull = Full;
  // A node returns its evaluation when depth falls below this.
  static constexpr int kFloor = Floor;
  // The tactical extension also needs depth >= 0.
  static constexpr bool kAntiExtension = AntiExtension;
  static constexpr NoMoveScore kNoMove = NoMove;
};

using MAlphaBeta = Member<GenericEval, GenericGen, true, -4, false, NoMoveScore::Loss>;
using MAlphaBetaAnti = Member<GenericEval, GenericGen, true, -4, true, NoMoveScore::Win>;
using MAlphaBetaKingWin = Member<GenericEval, GenericGen, true, -4, false, NoMoveScore::RuleLoss>;
using MAlphaBeta1 = Member<Family1Eval, FixedGen<1>, true, -4, false, NoMoveScore::Loss>;
using MAlphaBeta2 = Member<Family2Eval, FixedGen<2>, true, -4, false, NoMoveScore::Loss>;
using MAlphaBeta3 = Member<Family34Eval, FixedGen<3>, true, -4, false, NoMoveScore::Loss>;
using MAlphaBeta4 = Member<Family34Eval, FixedGen<4>, true, -4, false, NoMoveScore::Loss>;
using MQuick = Member<GenericEval, GenericGen, false, -1, false, NoMoveScore::ByAntiMode>;
using MQuick1 = Member<Family1Eval, FixedGen<1>, false, 0, false, NoMoveScore::Loss>;
using MQuick2 = Member<Family2Eval, FixedGen<2>, false, 0, false, NoMoveScore::Loss>;
using MQuick3 = Member<Family34Eval, FixedGen<3>, false, 0, false, NoMoveScore::Loss>;
using MQuick4 = Member<Family34Eval, FixedGen<4>, false, 0, false, NoMoveScore::Loss>;

// ---- the node -------------------------------------------------------------

template <class M>
int Node(PositionState& g, int& alpha, int beta, int& depth) {
  PlyState& ps = g.P;
  g.host->pump();
  if ((++g.Search.Nodes & kClockCheckMask) == 0) CheckSearchClock(g);
  if constexpr (M::kFull) {
    if (ps.SearchAborted != 0) return 0;
  }
  const int ply = ps.Ply;
  auto& pv = g.SearchTab.PVTable;
  pv[ply][ply].From = 0;

  const int eval = M::Evaluator::Run(g, alpha, beta, ps.SideToMove);
  const int inDanger = g.Eval.InDanger;

  // Search extensions, at most one per node.
  const int maxPly = g.Search.MaxPly;
  if (inDanger != 0 && depth + ply < maxPly + 1) {
    ++depth;
  } else if (ps.LastMoveTactical[ply] == 2 - g.Opt.ExtendedSearch && depth + ply < maxPly &&
             (!M::kAntiExtension || depth >= 0) && eval <= beta + g.Opt.Balance &&
             eval >= alpha - g.Opt.Balance && ply >= 2) {
    ++depth;
  }

  if (eval == kInfinity - ply || depth < M::kFloor) return eval;
  // The per-ply tables end at ply 40 and the game tables at game ply 1000:
  // whatever the depth and extension settings, no move is made beyond them.
  if (ply >= kMaxPly || ps.GamePly >= kMaxGamePly) return eval;

  int result = 0;
  const bool bruteForce = M::kFull && g.Opt.BruteForce != 0;
  if (eval >= beta && depth + inDanger <= 1) {
    result = eval;
    if (!bruteForce) return eval;
  }

  int best;
  if (depth > 0) {
    M::Generator::Run(g, 0);
    if (ps.PlyStart[ply] == ps.MoveListEnd) M::Generator::Run(g, 1);
    best = kNoScore;
    if (ps.PlyStart[ply] == ps.MoveListEnd) {
      constexpr NoMoveScore rule = M::kNoMove;
      if constexpr (rule == NoMoveScore::Win) {
        best = SearchWinScore(ply);
      } else if constexpr (rule == NoMoveScore::RuleLoss) {
        best = -SearchWinScore(ply);
      } else if constexpr (rule == NoMoveScore::ByAntiMode) {
        if (g.Rules.AntiMode == 1) best = SearchWinScore(ply);
      }
    }
  } else {
    M::Generator::Run(g, depth);
    best = eval;
  }

  if (ps.StopRequest != 0) {
    ps.SearchAborted = 1;
    ps.StopRequest = 0;
    return result;
  }

  bool cutoff = false;
  int i = PickNextMove(g);
  while (i >= 0) {
    SearchMakeMove(g, i);
    int childAlpha = -beta;
    int childDepth = depth - 1;
    const int s = -Node<M>(g, childAlpha, -alpha, childDepth);
    UnmakeMove(g, i);
    if (s > best) {
      best = s;
      if (s >= beta) {
        if (depth > 0) UpdatePV(g, i);
        if (!bruteForce) {
          cutoff = true;
          break;
        }
      }
      if (s > alpha) {
        if (depth > 0) UpdatePV(g, i);
        alpha = s;
      }
    }
    i = PickNextMove(g);
  }

  if (cutoff) {
    auto& killers = g.SearchTab.KillerMoves[ply];
    killers[1] = killers[0];
    killers[0] = KillerSlot{ps.MoveList[i].From, ps.MoveList[i].To};
  }
  if (best == kInfinity) best = SearchWinScore(ply);
  return best;
}

}  // namespace

int AlphaBeta(PositionState& g, int& a, int b, int& d) { return Node<MAlphaBeta>(g, a, b, d); }
int AlphaBetaAnti(PositionState& g, int& a, int b, int& d) { return Node<MAlphaBetaAnti>(g, a, b, d); }
int AlphaBetaKingWin(PositionState& g, int& a, int b, int& d) {
  return Node<MAlphaBetaKingWin>(g, a, b, d);
}
int AlphaBeta1(PositionState& g, int& a, int b, int& d) { return Node<MAlphaBeta1>(g, a, b, d); }
int AlphaBeta2(PositionState& g, int& a, int b, int& d) { return Node<MAlphaBeta2>(g, a, b, d); }
int AlphaBeta3(PositionState& g, int& a, int b, int& d) { return Node<MAlphaBeta3>(g, a, b, d); }
int AlphaBeta4(PositionState& g, int& a, int b, int& d) { return Node<MAlphaBeta4>(g, a, b, d); }
int QuickAlphaBeta(PositionState& g, int& a, int b, int& d) { return Node<MQuick>(g, a, b, d); }
int QuickAlphaBeta1(PositionState& g, int& a, int b, int& d) { return Node<MQuick1>(g, a, b, d); }
int QuickAlphaBeta2(PositionState& g, int& a, int b, int& d) { return Node<MQuick2>(g, a, b, d); }
int QuickAlphaBeta3(PositionState& g, int& a, int b, int& d) { return Node<MQuick3>(g, a, b, d); }
int QuickAlphaBeta4(PositionState& g, int& a, int b, int& d) { return Node<MQuick4>(g, a, b, d); }

NodeMember ChooseFullNode(const PositionState& g) {
  switch (g.Eval.StandardRuleSet) {
    case 1: return NodeMember::AlphaBeta1;
    case 2: return NodeMember::AlphaBeta2;
    case 3: return NodeMember::AlphaBeta3;
    case 4: return NodeMember::AlphaBeta4;
    default: break;
  }
  if (g.Rules.AntiMode == 1) return NodeMember::AlphaBetaAnti;
  if (g.Rules.KingWin != 1 && g.Rules.WinAtPromo != 1) return NodeMember::AlphaBeta;
  return NodeMember::AlphaBetaKingWin;
}

NodeMember ChooseQuickNode(const PositionState& g) {
  switch (g.Eval.StandardRuleSet) {
    case 1: return NodeMember::QuickAlphaBeta1;
    case 2: return NodeMember::QuickAlphaBeta2;
    case 3: return NodeMember::QuickAlphaBeta3;
    case 4: return NodeMember::QuickAlphaBeta4;
    default: return NodeMember::QuickAlphaBeta;
  }
}

const char* NodeMemberName(NodeMember member) {
  switch (member) {
    case NodeMember::AlphaBeta: return "AlphaBeta";
    case NodeMember::AlphaBetaAnti: return "AlphaBetaAnti";
    case NodeMember::AlphaBetaKingWin: return "AlphaBetaKingWin";
    case NodeMember::AlphaBeta1: return "AlphaBeta1";
    case NodeMember::AlphaBeta2: return "AlphaBeta2";
    case NodeMember::AlphaBeta3: return "AlphaBeta3";
    case NodeMember::AlphaBeta4: return "AlphaBeta4";
    case NodeMember::QuickAlphaBeta: return "QuickAlphaBeta";
    case NodeMember::QuickAlphaBeta1: return "QuickAlphaBeta1";
    case NodeMember::QuickAlphaBeta2: return "QuickAlphaBeta2";
    case NodeMember::QuickAlphaBeta3: return "QuickAlphaBeta3";
    case NodeMember::QuickAlphaBeta4: return "QuickAlphaBeta4";
  }
  return "";
}

int RunNode(PositionState& g, NodeMember member, int& alpha, int beta, int& depth) {
  switch (member) {
    case NodeMember::AlphaBeta: return AlphaBeta(g, alpha, beta, depth);
    case NodeMember::AlphaBetaAnti: return AlphaBetaAnti(g, alpha, beta, depth);
    case NodeMember::AlphaBetaKingWin: return AlphaBetaKingWin(g, alpha, beta, depth);
    case NodeMember::AlphaBeta1: return AlphaBeta1(g, alpha, beta, depth);
    case NodeMember::AlphaBeta2: return AlphaBeta2(g, alpha, beta, depth);
    case NodeMember::AlphaBeta3: return AlphaBeta3(g, alpha, beta, depth);
    case NodeMember::AlphaBeta4: return AlphaBeta4(g, alpha, beta, depth);
    case NodeMember::QuickAlphaBeta: return QuickAlphaBeta(g, alpha, beta, depth);
    case NodeMember::QuickAlphaBeta1: return QuickAlphaBeta1(g, alpha, beta, depth);
    case NodeMember::QuickAlphaBeta2: return QuickAlphaBeta2(g, alpha, beta, depth);
    case NodeMember::QuickAlphaBeta3: return QuickAlphaBeta3(g, alpha, beta, depth);
    case NodeMember::QuickAlphaBeta4: return QuickAlphaBeta4(g, alpha, beta, depth);
  }
  return 0;
}

int PickNextMove(PositionState& g) {
  PlyState& ps = g.P;
  const int ply = std::clamp(ps.Ply, 0, kMaxPly);
  const int first = ps.PlyStart[ply];
  const int last = std::min(ps.PlyStart[ply + 1] - 1, kMoveListSize - 1);
  if (first < 0 || first > last) return -1;
  int best = kNoScore, pick = -1;
  for (int i = first; i <= last; ++i) {
    if (ps.MoveList[i].Score > best) {
      best = ps.MoveList[i].Score;
      pick = i;
    }
  }
  if (pick < 0) return -1;
  ps.MoveList[pick].Score = kNoScore;
  return pick;
}

void UpdatePV(PositionState& g, int index) {
  const int ply = std::clamp(g.P.Ply, 0, kMaxPly);
  const MoveRecord& m = g.P.MoveList[index];
  auto& pv = g.SearchTab.PVTable;
  pv[ply][ply] = PVEntry{(m.IsCapture() ? 1 : 0) + (m.Crown != 0 ? 10 : 0), m.From, m.To};
  if (ply == kMaxPly) return;
  for (int c = ply + 1; c <= kMaxPly; ++c) {
    pv[ply][c] = pv[ply + 1][c];
    if (pv[ply + 1][c].From == 0) break;
  }
}

int PVLength(const PositionState& g) {
  for (int c = 1; c <= kMaxPly; ++c)
    if (g.SearchTab.PVTable[1][c].From == 0) return c;
  return kPlyTables;
}

void SearchMakeMove(PositionState& g, int index) {
  const MoveRecord& m = g.P.MoveList[index];
  const int fromValue = m.From > 0 && m.From < kCells ? g.board[m.From] : 0;
  MakeMove(g, index);
  RecordMoveKey(g, m, fromValue);
}

void CheckSearchClock(PositionState& g) {
  SearchState& s = g.Search;
  if (s.StopAt <= 0 || g.P.SearchAborted != 0) return;
  if (g.host->monotonicSeconds() < s.StopAt) return;
  s.TimeUp = 1;
  g.P.SearchAborted = 1;
}

SearchScope::SearchScope(PositionState& g) : g_(g) {
  g_.P.StopRequest = 0;
  g_.Search.TimeUp = 0;
  PrepareRepetitionKeys(g_);
  PrepareFamilyEvaluation(g_);
}

SearchScope::~SearchScope() {
  g_.Search.StopAt = 0;
  // The time limit's stop ends with its search; the user's stays.
  if (g_.Search.TimeUp != 0) {
    g_.Search.TimeUp = 0;
    g_.P.SearchAborted = 0;
  }
  if (g_.P.StopRequest != 0) {
    g_.P.SearchAborted = 1;
    g_.P.StopRequest = 0;
  }
}

}  // namespace m8
