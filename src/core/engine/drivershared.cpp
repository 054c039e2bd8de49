#include "core/engine/drivershared.h"

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <thread>

#include "core/engine/book.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

void Enable(Host& h, std::initializer_list<Command> commands, bool on) {
  for (Command c : commands) h.setCommandEnabled(c, on);
}

// Whether book candidate `c` names the move from -> to.
bool CandidateNames(GameState& g, const std::string& c, int from, int to) {
  int f = 0, t = 0;
  return BookCandidateSquares(g, c, &f, &t) && f == from && t == to;
}

}  // namespace

void DisableCommandsWhileThinking(GameState& g) {
  Host& h = *g.host;
  Enable(h,
         {Command::PlayerPlayer, Command::ComputerPlayer, Command::ComputerComputer, Command::TurnBoard,
          Command::Back, Command::First, Command::Compute, Command::Analyze, Command::NewGame, Command::Open,
          Command::Save, Command::NewVariant, Command::Options, Command::OfferDraw, Command::Hint,
          Command::Resign, Command::Forward, Command::Last, Command::MoveEntry},
         false);
  h.setCommandEnabled(Command::Cancel, true);
}

void EnableCommandsAfterThinking(GameState& g, AfterThinking kind) {
  Host& h = *g.host;
  const int mode = g.Opt.PlayMode;
  const bool over = g.Flow.GameOver == 1;
  h.setCommandEnabled(Command::MoveList, true);
  if (!over) {
    Enable(h, {Command::Compute, Command::ComputerComputer, Command::Analyze}, true);
    if (kind == AfterThinking::Analysis || mode != 2) h.setCommandEnabled(Command::LegalMoves, true);
    if (mode != 2) h.setCommandEnabled(Command::Hint, true);
    if (mode == 0) Enable(h, {Command::OfferDraw, Command::Resign}, true);
  }
  // The Board menu stays off while a computer-against-computer game goes on.
  const bool gameRunsOn = mode == 2 && !over && g.P.SearchAborted != 1;
  if (!gameRunsOn) h.setCommandEnabled(Command::BoardMenu, true);
  if (kind != AfterThinking::Analysis && mode != 2) h.setCommandEnabled(Command::RootScores, true);
  Enable(h,
         {Command::PlayerPlayer, Command::ComputerPlayer, Command::TurnBoard, Command::NewGame, Command::Open,
          Command::Save, Command::NewVariant, Command::Options},
         true);
  h.setCommandEnabled(Command::Cancel, false);
  SetProgressValue(g, g.Driver.ProgressMax);
  if (g.P.GamePly > 0) Enable(h, {Command::Back, Command::First}, true);
  if (kind == AfterThinking::Analysis) {
    if (g.P.GamePly < g.Game.GameLength) Enable(h, {Command::Forward, Command::Last}, true);
  } else {
    // Nothing is stored ahead of the position any more.
    if (g.P.GamePly + 1 < kGameTables) g.Game.GameMoves[g.P.GamePly + 1].From = 0;
    Enable(h, {Command::Forward, Command::Last}, false);
  }
  h.setCommandEnabled(Command::MoveEntry, true);
  if (kind == AfterThinking::PlyValue)
    Enable(h, {Command::MoveList, Command::RootScores, Command::LegalMoves}, true);
}

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

bool PauseUnlessStopped(GameState& g, double seconds) {
  Host& h = *g.host;
  const double start = h.monotonicSeconds();
  for (;;) {
    h.pump();
    if (g.P.StopRequest != 0) {
      g.P.StopRequest = 0;
      g.P.SearchAborted = 1;
      return true;
    }
    const double waited = h.monotonicSeconds() - start;
    if (!(waited < seconds)) return false;
    std::this_thread::sleep_for(std::chrono::duration<double>(std::min(seconds - waited, 0.001)));
  }
}

void SetProgress(GameState& g, int value, int maximum) {
  g.Driver.ProgressMax = std::max(0, maximum);
  SetProgressValue(g, value);
}

void SetProgressValue(GameState& g, int value) {
  g.Driver.ProgressValue = std::clamp(value, 0, g.Driver.ProgressMax);
  g.host->progress(g.Driver.ProgressValue, g.Driver.ProgressMax);
}

void ShowStatus(GameState& g, const std::string& text) { g.host->status(g.Skin.StatusPanel, text); }

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

void ListRootMoveScores(GameState& g) {
  const auto& t = g.Driver.RootScores;
  if (t[0][0] == 0 || t[0][0] == kNoRootScore) return;
  auto& lines = g.Driver.RootScoreLines;
  lines.clear();
  for (int i = 0; i < kRootScoreSlots && t[0][i] != kNoRootScore && t[0][i] != 0; ++i) {
    std::string line = SquareNotation(g, t[0][i], 2) + SquareNotation(g, t[1][i], 2) + " ";
    if (t[2][i] == kNoRootScore)
      line += " n/a";
    else if (t[kRootScoreBoundRow][i] == 1)
      line += "\xE2\x89\xA4 " + std::to_string(t[2][i]);  // "≤ 4": no better than 4
    else
      line += SignedText(t[2][i]);
    lines.push_back(line);
  }
  g.host->refresh(View::RootScores);
}

void ClearRootMoveScores(GameState& g) {
  g.Driver.RootScoreLines.clear();
  g.host->refresh(View::RootScores);
}

void SetGameResult(GameState& g, int mode) {
  std::string& result = g.Flow.GameResult;
  result.clear();
  if (mode == 2) {
    result = "1/2-1/2";
    return;
  }
  int white = 0, black = 0;
  for (int row = 9; row >= 2; --row)
    for (int col = 1; col <= 8; ++col) {
      const int v = g.board[10 * row + col];
      if (v == kOffBoard) continue;
      if (v > 0) ++white;
      if (v < 0) ++black;
    }
  const bool blackFirst = g.Rules.BlackStarts == 1;
  if (white == 0) result = blackFirst ? "1-0" : "0-1";
  if (black == 0) result = blackFirst ? "0-1" : "1-0";
  if (result.empty()) {
    GenerateLegalMoves(g);
    const int ply = std::clamp(g.P.Ply, 0, kMaxPly);
    if (g.P.PlyStart[ply + 1] == g.P.PlyStart[ply]) {
      const bool firstMoverLost = (g.P.SideToMove == -1) == blackFirst;
      result = firstMoverLost ? "0-1" : "1-0";
    }
  }
  if (!result.empty() && g.Rules.AntiMode == 1) result = result == "1-0" ? "0-1" : "1-0";
}

void SetWinResult(GameState& g, int winnerSide) {
  const int firstMover = g.Rules.BlackStarts == 1 ? -1 : 1;
  g.Flow.GameResult = winnerSide == firstMover ? "1-0" : "0-1";
}

std::string DrawAnnouncementText(int drawReason) {
  switch (drawReason) {
    case 1: return "It's a draw! Triple Repetition";
    case 2: return "It's a draw! 50 Moves Rule";
    case 3: return "It's a draw! King versus King";
    case 4: return "It's a draw! 3 Kings versus 1 King";
    default: return "It's a draw! 2 Kings versus 1 King";
  }
}

void AnnounceDraw(GameState& g, int quiet) {
  const int reason = g.Draw.DrawReason;
  if (quiet == 0) {
    AnnounceGameEnd(g, DrawAnnouncementText(reason));
    return;
  }
  if (!g.Driver.DrawNote.empty()) return;
  std::string note;
  switch (reason) {
    case 1: note = "Triple Repetition at move "; break;
    default: note = DrawAnnouncementText(reason) + " "; break;
  }
  g.Driver.DrawNote = note + std::to_string((g.P.GamePly + 1) / 2);
}

void AnnounceGameEnd(GameState& g, const std::string& text) {
  ShowStatus(g, text);
  g.host->message(Icon::Exclamation, GameEndTitle(g), text + g.Rating.RatingMessage);
}

const char* GameEndTitle(const GameState& g) { return g.Opt.PlayMode == 2 ? "Morventa8" : "Congratulations"; }

namespace {

// The player name of a colour: PlayerName1 belongs to the side that moves
// first.
const std::string& PlayerNameOf(const GameState& g, int side) {
  const int firstMover = g.Rules.BlackStarts == 1 ? -1 : 1;
  return side == firstMover ? g.Flow.PlayerName1 : g.Flow.PlayerName2;
}

bool NamedByColour(const GameState& g, int computerSide) {
  if (g.Opt.PlayMode == 1 || g.Opt.PlayMode == 2) return true;
  return computerSide == 0 && PlayerNameOf(g, 1) == PlayerNameOf(g, -1);
}

}  // namespace

bool ComputerIsWinner(const GameState& g, int winnerSide, int computerSide) {
  if (computerSide != 0) return winnerSide == computerSide;
  return PlayerNameOf(g, winnerSide) != g.Opt.UserName;
}

std::string WinnerText(const GameState& g, int winnerSide, int computerSide) {
  if (NamedByColour(g, computerSide)) return winnerSide == 1 ? "White wins!" : "Black wins!";
  return ComputerIsWinner(g, winnerSide, computerSide) ? std::string("Computer wins!")
                                                       : g.Opt.UserName + " wins!";
}

std::string ForcedResultText(const GameState& g, int bestScore) {
  std::string head;
  int n = 0;
  if (bestScore <= -31980) {
    head = "Computer is losing in";
    n = (bestScore + kInfinity + (g.Rules.AntiMode == 1 ? 1 : 0)) / 2;
  } else if (bestScore >= 31980) {
    head = "Computer is winning in";
    n = (kInfinity - bestScore + 1) / 2;
  } else {
    return "";
  }
  n = std::max(n, 1);  // a decided game is still one move away
  return head + SignedText(n) + " move" + (n > 1 ? "s" : "") + "! ";
}

bool EqualKingsOnly(const GameState& g) {
  int white = 0, black = 0;
  for (int row = 2; row <= 9; ++row)
    for (int col = 1; col <= 8; ++col) {
      const int v = g.board[10 * row + col];
      if (v == 1 || v == -1) return false;
      if (v == 2) white += 2;
      if (v == -2) black += 2;
    }
  return white == black;
}

}  // namespace m8
