#include "core/game/legalmovelist.h"

#include <algorithm>
#include <string>

#include "core/engine/book.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

// Whether book candidate `c` names the move from -> to.
bool CandidateNames(GameState& g, const std::string& c, int from, int to) {
  int f = 0, t = 0;
  return BookCandidateSquares(g, c, &f, &t) && f == from && t == to;
}

}  // namespace

void ClearDriverLists(GameState& g) {
  DriverState& d = g.Driver;
  for (auto& line : d.MoveListLines) line.clear();
  d.MoveListCount = 0;
  d.MoveListSelected = -1;
  for (auto& row : d.GameMoveTexts) row = {};
  for (int i = 0; i < kRootScoreSlots; ++i) {
    d.RootScores[0][i] = kNoRootScore;
    d.RootScores[2][i] = kNoRootScore;
  }
  d.RootScoreLines.clear();
  d.LegalMoveLines.clear();
  Host& h = *g.host;
  h.refresh(View::MoveList);
  h.refresh(View::RootScores);
  h.refresh(View::LegalMoves);
}

void ListLegalMoves(GameState& g) {
  const MoveTexts saved = g.Texts;
  GenerateLegalMoves(g);
  auto& lines = g.Driver.LegalMoveLines;
  lines.clear();
  BookMove(g, 1);
  const int ply = std::clamp(g.P.Ply, 0, kMaxPly);
  const int first = g.P.PlyStart[ply];
  const int end = std::min(g.P.PlyStart[ply + 1], kMoveListSize);
  for (int i = first; i < end; ++i) {
    const MoveRecord& m = g.P.MoveList[i];
    MoveString(g, m);
    std::string line = g.Texts.MoveText;
    for (const std::string& c : g.Book.BookCandidates)
      if (CandidateNames(g, c, m.From, m.To)) {
        line += "b";
        break;
      }
    lines.push_back(line);
  }
  g.Texts = saved;
  g.host->refresh(View::LegalMoves);
}

}  // namespace m8
