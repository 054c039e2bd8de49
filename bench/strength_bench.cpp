// Strength: a short match of the computer searching N + 2 plies against
// itself searching N plies, American Checkers, from the named openings of the
// shipped book (a few fixed lines when the book is missing), each opening
// played twice with the colours exchanged. Every move is an ordinary
// ComputerMove (depth mode, full strength, no book, no noise).
// Goal: the deeper side scores clearly above 50% (at least 60%).
//
// bench_strength [N]   (default N = 4)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/engine/searchsetup.h"
#include "core/fileio.h"
#include "core/game/computermove.h"
#include "core/game/toolsetup.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/state.h"

namespace {

constexpr int kMaxPlies = 300;  // adjudicated a draw beyond this

// Answers nothing and lets time run fast, so that the pauses between moves
// cost nothing.
class MatchHost : public m8::Host {
 public:
  double monotonicSeconds() override { return now += 1.0; }
  double secondsSinceMidnight() override { return 1000.0; }
  double now = 0;
};

struct Opening {
  std::string name;
  std::vector<std::string> moves;  // four digits each, "1115"
};

std::vector<Opening> BookOpenings(const std::string& path) {
  std::vector<Opening> openings;
  const auto bytes = m8::ReadWholeFile(path);
  if (!bytes) return openings;
  bool names = false;
  m8::ForEachLine(*bytes, [&](std::string_view line) {
    if (line == "names") {
      names = true;
      return;
    }
    if (!names || line == "end") return;
    const size_t apostrophe = line.find('\'');
    if (apostrophe == std::string_view::npos) return;
    Opening o;
    o.name = std::string(line.substr(apostrophe + 1));
    if (!o.name.empty() && o.name.back() == '\'') o.name.pop_back();
    std::istringstream in{std::string(line.substr(0, apostrophe))};
    for (std::string m; in >> m;)
      if (m.size() == 4) o.moves.push_back(m);
    if (!o.moves.empty()) openings.push_back(o);
  });
  return openings;
}

std::vector<Opening> FixedOpenings() {
  return {{"Single Corner", {"1115", "2218"}},
          {"Cross", {"1115", "2318"}},
          {"Bristol", {"1116", "2420"}},
          {"Kelso", {"1015"}},
          {"Denny", {"1014"}},
          {"Old Faithful", {"1115", "2319", "0811", "2217"}}};
}

// Plays a move given in book form and records it as the window does.
bool PlayBookMove(m8::GameState& g, const std::string& move) {
  const int saved = g.Opt.Notation;
  g.Opt.Notation = 1;
  const int from = m8::SquareNumber(g, move.substr(0, 2));
  const int to = m8::SquareNumber(g, move.substr(2, 2));
  const std::string text = m8::SquareNotation(g, from, 0) + m8::SquareNotation(g, to, 0);
  const bool played = m8::PlayMoveString(g, text);
  if (played) {
    m8::RecordGameMove(g, g.P.MoveList[g.P.PlayedMoveIndex]);
    m8::CheckDrawRules(g);
  }
  g.Opt.Notation = saved;
  m8::ResetPly(g);
  m8::GenerateLegalMoves(g);
  return played;
}

// Score of the deeper side: 1 win, 0.5 draw, 0 loss; -1 when the opening
// could not be played.
double PlayGame(const Opening& o, int deepSide, int shallow, int deep, const std::string& folder, int* plies) {
  MatchHost host;
  auto g = std::make_unique<m8::GameState>();
  g->host = &host;
  g->ProgramFolder = folder;
  std::string error;
  if (!m8::SetupAnalysisPosition(*g, "American Checkers", "", -1, &error)) return -1;
  g->Opt.Weakness = 0;
  g->Opt.DepthMode = 1;
  g->Opt.UseBook = 0;
  g->Opt.AskForDraw = 0;
  g->Opt.UseRating = 0;
  g->Opt.ShowCalculation = 0;
  g->Opt.PlayMode = 2;
  for (const auto& m : o.moves)
    if (!PlayBookMove(*g, m)) return -1;
  while (g->Flow.GameOver == 0 && g->P.GamePly < kMaxPlies) {
    g->Opt.SearchDepth = g->P.SideToMove == deepSide ? deep : shallow;
    m8::ComputerMove(*g);
  }
  *plies = g->P.GamePly;
  const std::string& r = g->Flow.GameResult;
  if (g->Flow.GameOver == 0 || r == "1/2-1/2" || r.empty()) return 0.5;
  // "1-0": the side that moved first (Black) won.
  const int winner = r == "1-0" ? -1 : 1;
  return winner == deepSide ? 1.0 : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
  const int shallow = argc > 1 ? std::atoi(argv[1]) : 4;
  if (shallow < 1 || shallow > 18) {
    std::fprintf(stderr, "usage: bench_strength [N]  (1..18)\n");
    return 2;
  }
  const int deep = shallow + 2;
  const std::string folder = M8_BIN_DIR;
  std::vector<Opening> openings = BookOpenings(folder + "/books/American Checkers.bok");
  const bool fromBook = !openings.empty();
  if (!fromBook) openings = FixedOpenings();

  std::printf("strength: depth %d against depth %d, %zu openings (%s), both colours\n", deep, shallow,
              openings.size(), fromBook ? "book" : "fixed lines");
  const auto t0 = std::chrono::steady_clock::now();
  double score = 0;
  int games = 0, wins = 0, draws = 0, losses = 0;
  for (const Opening& o : openings) {
    for (int deepSide : {-1, 1}) {
      int plies = 0;
      const double s = PlayGame(o, deepSide, shallow, deep, folder, &plies);
      if (s < 0) {
        std::printf("  %-22s opening could not be played\n", o.name.c_str());
        break;
      }
      ++games;
      score += s;
      (s == 1 ? wins : s == 0 ? losses : draws)++;
      std::printf("  %-22s deep side %s: %s in %d plies\n", o.name.c_str(), deepSide == -1 ? "Black" : "White",
                  s == 1 ? "win " : s == 0 ? "loss" : "draw", plies);
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const double percent = games > 0 ? 100.0 * score / games : 0;
  std::printf("strength: depth %d scores %.1f of %d (%.1f%%): +%d =%d -%d, %.1f s\n", deep, score, games, percent,
              wins, draws, losses, seconds);
  const bool ok = percent >= 60.0;
  std::printf("strength: goal 60%% %s\n", ok ? "met" : "NOT met");
  return ok ? 0 : 1;
}
