// The negamax alpha-beta search node in its twelve members (full and quick,
// per engine family and rule mode), with its move picker, principal-line
// table and killer moves.
//
// Every member scores the position at g.P.Ply from the view of the side to
// move. alpha and depth are raised in place (alpha when a move improves it,
// depth by one when a search extension applies); beta is only read.
#pragma once

#include "core/state.h"

namespace m8 {

// Score of a won position found by search at a ply.
inline int SearchWinScore(int ply) { return kInfinity - 1 - ply; }

// Full nodes: the computer move and the analysis search below the root moves.
int AlphaBeta(PositionState& g, int& alpha, int beta, int& depth);         // generic
int AlphaBetaAnti(PositionState& g, int& alpha, int beta, int& depth);     // AntiMode
int AlphaBetaKingWin(PositionState& g, int& alpha, int beta, int& depth);  // KingWin / WinAtPromo
int AlphaBeta1(PositionState& g, int& alpha, int beta, int& depth);
int AlphaBeta2(PositionState& g, int& alpha, int beta, int& depth);
int AlphaBeta3(PositionState& g, int& alpha, int beta, int& depth);
int AlphaBeta4(PositionState& g, int& alpha, int beta, int& depth);
// Quick nodes: the fixed-depth probe of the quick search.
int QuickAlphaBeta(PositionState& g, int& alpha, int beta, int& depth);
int QuickAlphaBeta1(PositionState& g, int& alpha, int beta, int& depth);
int QuickAlphaBeta2(PositionState& g, int& alpha, int beta, int& depth);
int QuickAlphaBeta3(PositionState& g, int& alpha, int beta, int& depth);
int QuickAlphaBeta4(PositionState& g, int& alpha, int beta, int& depth);

enum class NodeMember {
  AlphaBeta,
  AlphaBetaAnti,
  AlphaBetaKingWin,
  AlphaBeta1,
  AlphaBeta2,
  AlphaBeta3,
  AlphaBeta4,
  QuickAlphaBeta,
  QuickAlphaBeta1,
  QuickAlphaBeta2,
  QuickAlphaBeta3,
  QuickAlphaBeta4,
};

// The member a driver uses: the built-in rule set first, then AntiMode, then
// KingWin or WinAtPromo, else the generic node.
NodeMember ChooseFullNode(const PositionState& g);
NodeMember ChooseQuickNode(const PositionState& g);
const char* NodeMemberName(NodeMember member);

// Calls the member.
int RunNode(PositionState& g, NodeMember member, int& alpha, int beta, int& depth);

// The index of the best remaining record of the current ply, marked as
// taken; -1 when none is left.
int PickNextMove(PositionState& g);

// Records MoveList[index] as the best move of the current ply and appends the
// line found below it.
void UpdatePV(PositionState& g, int index);

// The first column 1..40 whose entry of PVTable row 1 is empty: one more than
// the number of moves that follow the root move; 41 when the row is full.
int PVLength(const PositionState& g);

// MakeMove as the search plays it: the repetition key of the new ply is kept
// current as well.
void SearchMakeMove(PositionState& g, int index);

// The nodes read the clock once in this many nodes (a power of two).
constexpr uint64_t kClockCheckNodes = 512;
constexpr uint64_t kClockCheckMask = kClockCheckNodes - 1;

// Stops the running search when the host's monotonic clock has reached
// Search.StopAt (0: no limit): Search.TimeUp and SearchAborted become 1. A
// search already stopped is left as it is, so that the user's stop keeps its
// reason.
void CheckSearchClock(PositionState& g);

// Brackets one search from its entry to its return. On entry a stop request
// left over from an earlier search is dropped and the repetition keys are
// made current. On return the time limit is dropped and its stop cleared;
// a stop request that no node saw any more (it came during the last nodes)
// marks the search as aborted, so that the caller's Cancel is not lost and
// does not stop the next search instead. The user's stop thus outlives the
// search even when the time ran out in the same iteration.
class SearchScope {
 public:
  explicit SearchScope(PositionState& g);
  ~SearchScope();
  SearchScope(const SearchScope&) = delete;
  SearchScope& operator=(const SearchScope&) = delete;

 private:
  PositionState& g_;
};

}  // namespace m8
