// The move generator itself, shared by GenerateMoves and HasLegalMove (and by
// any generator for a fixed rule set): one template over the rules it reads
// and over what it does with a move (write a record, or answer "there is a
// move"). Only the rules' .cpp files include this header.
#pragma once

#include <algorithm>
#include <cstdlib>

#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8::movegen {

// The rule keys the generator reads, taken from Rules once per call. A fixed
// rule set is a struct with the same names as static constexpr members, so
// the compiler drops every branch the set never takes.
struct DynamicRules {
  int CapRequired, LongKings, JumpFriend, NumberFriends, PiecesOnBlack;
  int canContract, ContractW1, ContractW2, ContractB1, ContractB2;
  int MulJumps, MaxCapMove, MaxCapMoveKings, MaxCapMoveK, KingCapMove;
  int ManCapKing, ManCapMoveKing, ManContJump, ManContJumpCrowned;
  int KingFirst, CapReverse, RemovePieces, LastCap;
  int OrthogonalLongKings;
  // Italian order of captures: of the captures left after the rules above,
  // the one that meets a king first. No rule key says it; the rules of the
  // Italian set (built-in set 2) bring it.
  int ItalianOrder;

  explicit DynamicRules(const PositionState& g) {
    const RuleSet& r = g.Rules;
    CapRequired = r.CapRequired;
    LongKings = r.LongKings;
    JumpFriend = r.JumpFriend;
    NumberFriends = r.NumberFriends;
    PiecesOnBlack = r.PiecesOnBlack;
    canContract = r.canContract;
    ContractW1 = r.ContractW1;
    ContractW2 = r.ContractW2;
    ContractB1 = r.ContractB1;
    ContractB2 = r.ContractB2;
    MulJumps = r.MulJumps;
    MaxCapMove = r.MaxCapMove;
    MaxCapMoveKings = r.MaxCapMoveKings;
    MaxCapMoveK = r.MaxCapMoveK;
    KingCapMove = r.KingCapMove;
    ManCapKing = r.ManCapKing;
    ManCapMoveKing = r.ManCapMoveKing;
    ManContJump = r.ManContJump;
    ManContJumpCrowned = r.ManContJumpCrowned;
    KingFirst = r.KingFirst;
    CapReverse = r.CapReverse;
    RemovePieces = r.RemovePieces;
    LastCap = r.LastCap;
    OrthogonalLongKings = g.Tables.OrthogonalLongKings;
    ItalianOrder = g.Tables.ItalianCaptureOrder;
  }
};

// The four built-in rule sets as constants (the keys in which they differ;
// every other key has its standard-set value). Sets 1..4: American, Italian,
// the majority game with flying kings, Russian.
template <int kSet>
struct FixedRules {
  static constexpr int CapRequired = 1, JumpFriend = 0, NumberFriends = 0, PiecesOnBlack = 1;
  static constexpr int canContract = 0, ContractW1 = 0, ContractW2 = 0, ContractB1 = 0, ContractB2 = 0;
  static constexpr int MulJumps = 1, MaxCapMoveK = 1, ManCapMoveKing = 0, KingFirst = 0, CapReverse = 0;
  static constexpr int LastCap = 0, OrthogonalLongKings = 0;
  static constexpr int LongKings = kSet >= 3 ? 1 : 0;
  static constexpr int ManContJump = kSet >= 3 ? 1 : 0;
  static constexpr int ManContJumpCrowned = kSet == 4 ? 1 : 0;
  static constexpr int MaxCapMove = kSet == 2 || kSet == 3 ? 1 : 0;
  static constexpr int MaxCapMoveKings = kSet == 2 ? 1 : 0;
  static constexpr int KingCapMove = kSet == 2 ? 1 : 0;
  static constexpr int ManCapKing = kSet == 2 ? 0 : 1;
  static constexpr int RemovePieces = kSet >= 3 ? 1 : 0;
  static constexpr int ItalianOrder = kSet == 2 ? 1 : 0;
};

// A captured piece stays on its cell with 10 subtracted while the capture is
// searched; every value below this is such a mark.
constexpr int kMarkLimit = -5;
constexpr int kMarkOffset = 10;

// The bit of a playing square (cells 21..98) in a set of squares.
inline uint64_t SquareBit(int cell) {
  return uint64_t{1} << (8 * (cell / 10 - 2) + (cell % 10 - 1));
}

inline int KindOf(int value) {
  // 1 -> 0, -1 -> 1, 2 -> 2, -2 -> 3
  return (value > 0 ? 0 : 1) + (value == 2 || value == -2 ? 2 : 0);
}

// kTest: the legal-move test; stops at the first move and writes nothing.
template <class R, bool kTest>
class Generator {
 public:
  Generator(PositionState& g, const R& rules, CaptureScratch& scratch)
      : g_(g), b_(g.board), r_(rules), cs_(scratch), side_(g.P.SideToMove) {
    const auto& promo = g.Rules.PromoSquares[side_ > 0 ? 0 : 1];
    for (int32_t cell : promo)
      if (cell >= 0 && cell < kCells) promo_[nPromo_++] = cell;
  }

  // Runs the generation. Generating: returns the error (None when complete).
  // Testing: found() tells the answer.
  MoveGenError Run(int mode) {
    PlyState& P = g_.P;
    if (P.Ply < 0 || P.Ply > kMaxPly) return MoveGenError::PlyOutOfRange;
    const int eff = (r_.CapRequired == 0 && mode == 0) ? 1 : mode;
    if constexpr (!kTest) {
      P.MoveListEnd = P.PlyStart[P.Ply];
      if (P.MoveListEnd < 0 || P.MoveListEnd > kMoveListSize) P.MoveListEnd = kMoveListSize;
    }
    cs_.Count = 0;
    lastMoved_ = 0;
    if (r_.LastCap == 1 && (P.Ply == 0 || P.RootGeneration == 1) && P.GamePly >= 0 &&
        P.GamePly < kGameTables)
      lastMoved_ = g_.Game.HistDestination[P.GamePly];
    const int man = side_, king = 2 * side_;
    const int32_t* board = b_.data();
    const bool quiet = eff > 0;
    const bool place = r_.canContract == 1 && quiet;
    // The 64 cells of the board, row by row (the frame never holds a piece).
    for (int rowStart = 21; rowStart <= 91 && err_ == MoveGenError::None; rowStart += 10) {
      for (int cell = rowStart; cell < rowStart + 8; ++cell) {
        const int v = board[cell];
        if (v == man || v == king) {
          const bool slides = r_.LongKings == 1 && v == king;
          if (quiet) {
            QuietMoves(cell, v, slides);
            if constexpr (kTest) {
              if (found_) return MoveGenError::None;
            }
          }
          if (MayCapture(cell, v, slides)) {
            SearchPiece(cell, v, slides);
            if (err_ != MoveGenError::None) break;
          }
        } else if (place && v == 0) {
          Placement(cell);
          if constexpr (kTest) {
            if (found_) return MoveGenError::None;
          }
        }
      }
    }
    if (err_ == MoveGenError::None || err_ == MoveGenError::MoveListFull) ChooseCaptures(mode);
    if constexpr (!kTest) P.PlyStart[P.Ply + 1] = P.MoveListEnd;
    return err_;
  }

  bool found() const { return found_; }
  int failedDepth() const { return failDepth_; }

 private:
  bool IsPromo(int cell) const {
    for (int i = 0; i < nPromo_; ++i)
      if (promo_[i] == cell) return true;
    return false;
  }

  void Emit(int from, int to, bool crown) {
    if constexpr (kTest) {
      (void)from, (void)to, (void)crown;
      found_ = true;
    } else {
      const bool ok = crown ? AddMoveCrowning(g_, from, to, {}, {}) : AddMove(g_, from, to);
      if (!ok) err_ = MoveGenError::MoveListFull;
    }
  }

  void QuietMoves(int cell, int v, bool slides) {
    const auto& dirs = g_.Tables.DirectionTable[KindOf(v)];
    const bool isMan = v == side_;
    for (int i = 0; i < 8 && dirs[i] != kDirEnd; ++i) {
      const int off = dirs[i];
      if (slides) {
        for (int t = cell + off; b_[t] == 0; t += off) {
          Emit(cell, t, false);
          if constexpr (kTest) return;
        }
        continue;
      }
      const int t = cell + off;
      const int tv = b_[t];
      if (tv == 0) {
        Emit(cell, t, isMan && IsPromo(t));
        if constexpr (kTest) {
          if (found_) return;
        }
      } else if (r_.JumpFriend == 1 && tv == v) {
        int run = 0, x = t;
        while (b_[x] == v) x += off, ++run;
        if (b_[x] == 0 && (r_.NumberFriends == -1 || run == r_.NumberFriends)) {
          Emit(cell, x, isMan && IsPromo(x));
          if constexpr (kTest) {
            if (found_) return;
          }
        }
      }
    }
  }

  void Placement(int cell) {
    if (r_.PiecesOnBlack < 2) {
      int playable = 0;
      IsPlayableCorrection(r_.PiecesOnBlack, cell, &playable);
      if (!playable) return;
    }
    const bool white = side_ == 1;
    if ((white ? g_.Mat.WhiteToPlace : g_.Mat.BlackToPlace) < 1) return;
    const int row1 = white ? r_.ContractW1 : r_.ContractB1;
    const int row2 = white ? r_.ContractW2 : r_.ContractB2;
    if (row1 < 0 || row1 > 9 || row2 < 0 || row2 > 9) return;  // readers keep rows in 0..9
    if (!(10 * row1 < cell && cell < 10 * row1 + 9)) return;
    const int gap = 10 * std::abs(row1 - row2);
    const int other = white ? cell + gap : cell - gap;
    if (other < 0 || other >= kCells || b_[other] != 0) return;
    Emit(kNoSquare, cell, false);
  }

  // ---- capture search -------------------------------------------------

  bool Takeable(int jv) const {
    if (jv == -side_) return true;
    if (jv == -2 * side_) return mover_ == 2 * side_ || r_.ManCapKing == 1;
    return false;
  }

  // A quick look whether a piece that does not slide has a first jump at all;
  // a sliding one is always searched.
  bool MayCapture(int cell, int v, bool slides) const {
    if (slides || (r_.ManCapMoveKing == 1 && v == side_)) return true;
    const auto& dirs = g_.Tables.DirectionTable[KindOf(v) + 4];
    const int32_t* board = b_.data();
    for (int i = 0; i < 8 && dirs[i] != kDirEnd; ++i) {
      const int s = dirs[i];
      const int jv = board[cell + s];
      if ((jv == -side_ || jv == -2 * side_) && board[cell + 2 * s] == 0) return true;
    }
    return false;
  }

  void SearchPiece(int cell, int v, bool slides) {
    start_ = cell;
    startValue_ = v;
    mover_ = v;
    sliding_ = slides || (r_.ManCapMoveKing == 1 && v == side_);
    crowned_ = false;
    depth_ = 0;
    taken_ = 0;
    pieceFirst_ = cs_.Count;
    Explore(cell);
  }

  // Tries every jump from cell c; returns whether one was possible.
  bool Explore(int c) {
    const auto& dirs = g_.Tables.DirectionTable[KindOf(mover_) + 4];
    bool any = false;
    for (int i = 0; i < 8 && dirs[i] != kDirEnd; ++i) {
      const int s = dirs[i];
      if (!sliding_) {
        const int j = c + s;
        if (!Takeable(b_[j])) continue;
        const int l = j + s;
        if (b_[l] != 0) continue;
        any = true;
        Jump(c, j, l, s);
        if (err_ != MoveGenError::None) return any;
        continue;
      }
      // A sliding mover: the first piece along the line is the one jumped.
      if (depth_ > 0 && s == -step_[depth_ - 1] && r_.CapReverse == 0) continue;
      int j = c + s;
      for (;;) {
        const int jv = b_[j];
        if (jv == 0 || (jv < kMarkLimit && r_.RemovePieces == 0)) {
          j += s;
          continue;
        }
        break;
      }
      if (!Takeable(b_[j])) continue;
      const bool kingJumps = mover_ == 2 * side_;
      const int firstCandidate = cs_.Count;
      bool anyGoesOn = false;
      // With captured pieces removed at once (RemovePieces 0) the square of
      // a piece taken earlier in this move is free to land on.
      for (int l = j + s;; l += s) {
        const int lv = b_[l];
        if (lv != 0 && !(lv < kMarkLimit && r_.RemovePieces == 0)) break;
        any = true;
        anyGoesOn |= Jump(c, j, l, s);
        if (err_ != MoveGenError::None) return any;
        if (r_.KingFirst == 1) break;
      }
      // A started capture must be finished: a king that could land where the
      // capture goes on may not stop behind this piece.
      if (anyGoesOn && kingJumps && r_.LongKings == 1 && r_.MaxCapMoveK == 1 && r_.MulJumps == 1) {
        for (int k = firstCandidate; k < cs_.Count; ++k)
          if (cs_.Candidates[k].Count == depth_ + 1) cs_.Candidates[k].Dropped = 1;
      }
    }
    return any;
  }

  // Makes the jump from c over j onto l, searches on, records, takes it back.
  // Returns whether the capture went on from l.
  bool Jump(int c, int j, int l, int s) {
    if (depth_ >= kMaxCaptured) {
      err_ = MoveGenError::TooManyCaptured;
      failDepth_ = depth_;
      return false;
    }
    const int jv = b_[j];
    const int lv = b_[l];  // empty, or the mark of a piece taken earlier (flying movers)
    cell_[depth_] = static_cast<uint8_t>(j);
    value_[depth_] = static_cast<int8_t>(jv < 0 ? -jv : jv);
    step_[depth_] = s;
    land_[depth_] = static_cast<uint8_t>(l);
    ++depth_;
    taken_ |= SquareBit(j);
    b_[j] = jv - kMarkOffset;
    b_[c] = 0;
    b_[l] = mover_;
    const bool promo = mover_ == side_ && IsPromo(l);
    const int savedMover = mover_;
    const bool savedSliding = sliding_;
    bool crownedHere = false;
    if (r_.ManContJump == 1 && r_.ManContJumpCrowned == 1 && promo && !crowned_) {
      crowned_ = crownedHere = true;
      mover_ = 2 * side_;
      b_[l] = mover_;
      sliding_ = true;
    }
    bool goesOn = false;
    if (r_.ManContJump != 0 || !promo) {
      goesOn = Explore(l);
      if (err_ == MoveGenError::None && (!goesOn || r_.MulJumps == 0)) {
        const bool crown =
            r_.ManContJump == 1 && ((mover_ == side_ && IsPromo(l)) || crowned_);
        Record(l, crown);
      }
    } else {
      Record(l, true);  // a man crowned on arrival ends its capture there
    }
    if (crownedHere) {
      mover_ = savedMover;
      sliding_ = savedSliding;
      crowned_ = false;
    }
    b_[l] = lv;
    b_[j] = jv;
    b_[c] = mover_;
    taken_ &= ~SquareBit(j);
    --depth_;
    return goesOn;
  }

  void Record(int to, bool crown) {
    // Under the majority rule a sequence shorter than one already found can
    // never be chosen (the last-capture rule may still pick shorter ones).
    if (r_.MaxCapMove == 1 && r_.LastCap == 0) {
      if (depth_ < longestSoFar_) return;
      longestSoFar_ = depth_;
    }
    if (cs_.Count >= kMaxCandidates) {
      err_ = MoveGenError::TooManyCandidates;
      failDepth_ = depth_;
      return;
    }
    CaptureCandidate& k = cs_.Candidates[cs_.Count];
    k.From = start_;
    k.To = to;
    k.Crown = crown ? 1 : 0;
    k.Mover = static_cast<int8_t>(startValue_);
    k.Count = static_cast<uint8_t>(depth_);
    k.Dropped = 0;
    k.TakesLastMoved = lastMoved_ > 0 && cell_[0] == lastMoved_;
    k.Taken = taken_;
    int kings = 0;
    k.FirstKing = 0;
    for (int i = 0; i < depth_; ++i) {
      k.Cell[i] = cell_[i];
      k.Value[i] = value_[i];
      k.Landing[i] = land_[i];
      kings += value_[i] == 2;
      if (value_[i] == 2 && k.FirstKing == 0) k.FirstKing = static_cast<int8_t>(i + 1);
    }
    k.Kings = static_cast<int8_t>(kings);
    if (r_.OrthogonalLongKings == 1) {
      // Orthogonal flying kings: one move per set of captured pieces.
      for (int a = 0; a < depth_; ++a)
        for (int b = a + 1; b < depth_; ++b)
          if (k.Cell[a] > k.Cell[b]) {
            std::swap(k.Cell[a], k.Cell[b]);
            std::swap(k.Value[a], k.Value[b]);
          }
    }
    // One move per capture: the same start, end and set of captured pieces
    // reached along another route or in another order is the same move.
    // A route that an earlier rule already ruled out is no match; of two
    // routes the move keeps the one the capture rules favour.
    for (int i = pieceFirst_; i < cs_.Count; ++i) {
      CaptureCandidate& o = cs_.Candidates[i];
      if (o.Dropped || o.Taken != k.Taken || o.To != k.To || o.Crown != k.Crown) continue;
      if (BetterRoute(k, o)) {
        o.Cell = k.Cell;
        o.Value = k.Value;
        o.TakesLastMoved = k.TakesLastMoved;
        o.FirstKing = k.FirstKing;
      }
      return;
    }
    ++cs_.Count;
  }

  // Whether route k of a capture serves the capture rules better than route
  // o of the same capture: it takes the last-moved piece first, or (Italian
  // order) it meets a king sooner.
  bool BetterRoute(const CaptureCandidate& k, const CaptureCandidate& o) const {
    if (k.TakesLastMoved != o.TakesLastMoved) return k.TakesLastMoved != 0;
    return r_.ItalianOrder == 1 && k.FirstKing != 0 && k.FirstKing < o.FirstKing;
  }

  // The capture rules choose among the candidates; the chosen ones become
  // records (or, testing, answer the question).
  void ChooseCaptures(int mode) {
    const int n = cs_.Count;
    if (n == 0) return;
    auto& cand = cs_.Candidates;
    // Capturing the piece that moved last is compulsory when possible.
    bool anyLast = false;
    for (int i = 0; i < n; ++i) anyLast |= !cand[i].Dropped && cand[i].TakesLastMoved;
    if (anyLast) {
      for (int i = 0; i < n; ++i)
        if (!cand[i].TakesLastMoved) cand[i].Dropped = 1;
      if constexpr (!kTest) {
        if (mode == 0 && r_.CapRequired == 0) g_.P.MoveListEnd = g_.P.PlyStart[g_.P.Ply];
      }
    }
    // The rules apply in this order, each to what the ones before it left:
    // the most pieces (MaxCapMove), a king rather than a man (KingCapMove;
    // under the majority rule only among the longest), the most kings
    // (MaxCapMoveKings), and in the Italian order the king met first.
    int longest = 0, precedence = 0;
    int byMover[3] = {0, 0, 0};
    for (int i = 0; i < n; ++i) {
      const CaptureCandidate& k = cand[i];
      if (k.Dropped) continue;
      longest = std::max<int>(longest, k.Count);
      const int m = k.Mover < 0 ? -k.Mover : k.Mover;
      byMover[m] = std::max<int>(byMover[m], k.Count);
      precedence = side_ == 1 ? std::max<int>(precedence, k.Mover) : std::min<int>(precedence, k.Mover);
    }
    if ((precedence == 2 || precedence == -2) && !(byMover[1] == byMover[2] && r_.KingCapMove == 1) &&
        r_.MaxCapMove == 1 && byMover[1] > byMover[2])
      precedence = side_;
    auto lengthAndMover = [&](const CaptureCandidate& k) {
      return !k.Dropped && (r_.MaxCapMove == 0 || k.Count == longest) &&
             (r_.KingCapMove == 0 || k.Mover == precedence);
    };
    const bool kingsRule = r_.MaxCapMove == 1 && r_.MaxCapMoveKings != 0;
    int mostKings = 0;
    if (kingsRule)
      for (int i = 0; i < n; ++i)
        if (lengthAndMover(cand[i])) mostKings = std::max<int>(mostKings, cand[i].Kings);
    auto beforeKingOrder = [&](const CaptureCandidate& k) {
      return lengthAndMover(k) && (!kingsRule || k.Kings == mostKings);
    };
    int firstKing = 0;  // the earliest place a king is taken at; 0 none
    if (r_.ItalianOrder == 1)
      for (int i = 0; i < n; ++i)
        if (beforeKingOrder(cand[i]) && cand[i].FirstKing != 0 &&
            (firstKing == 0 || cand[i].FirstKing < firstKing))
          firstKing = cand[i].FirstKing;
    for (int i = 0; i < n; ++i) {
      const CaptureCandidate& k = cand[i];
      if (!beforeKingOrder(k)) continue;
      if (firstKing != 0 && k.FirstKing != firstKing) continue;
      if constexpr (kTest) {
        found_ = true;
        return;
      } else {
        const std::span<const uint8_t> cells(k.Cell.data(), k.Count);
        const std::span<const int8_t> values(k.Value.data(), k.Count);
        const std::span<const uint8_t> landings(k.Landing.data(), k.Count);
        const bool ok = k.Crown ? AddMoveCrowning(g_, k.From, k.To, cells, values, landings)
                                : AddCaptureMove(g_, k.From, k.To, cells, values, landings);
        if (!ok) err_ = MoveGenError::MoveListFull;
      }
    }
  }

  PositionState& g_;
  Board& b_;
  const R& r_;
  CaptureScratch& cs_;
  const int side_;
  int promo_[kPromoEntries] = {};
  int nPromo_ = 0;
  int lastMoved_ = 0;
  int longestSoFar_ = 0;
  MoveGenError err_ = MoveGenError::None;
  bool found_ = false;

  // The piece being searched.
  int start_ = 0, startValue_ = 0, mover_ = 0;
  bool sliding_ = false, crowned_ = false;
  int depth_ = 0;  // pieces captured so far
  uint64_t taken_ = 0;  // the squares of the pieces captured so far
  int failDepth_ = 0;
  int pieceFirst_ = 0;
  uint8_t cell_[kMaxCaptured] = {};
  int8_t value_[kMaxCaptured] = {};
  int step_[kMaxCaptured] = {};
  uint8_t land_[kMaxCaptured] = {};
};

}  // namespace m8::movegen
