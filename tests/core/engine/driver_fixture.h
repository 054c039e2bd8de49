// The drivers of the computer move and the analysis, driven through a
// recording host with a clock the test controls; positions they are tried on.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/evaluate.h"
#include "core/engine/rootdriver.h"
#include "core/engine/rootsearch.h"
#include "core/engine/search_fixture.h"
#include "core/engine/searchnode.h"
#include "core/host.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/state.h"

namespace m8::testing {

// Records what the drivers ask of the window. The monotonic clock moves on by
// `step` at every reading; with freezeInSearch it stands still from the first
// root move of a search ("Thinking... (1)") until the status panel is emptied
// (the search is over), so that the test moves it by hand while the engine
// thinks.
class DriverHost : public Host {
 public:
  double now = 5000.0;
  double step = 0.05;
  bool freezeInSearch = false;
  bool frozen = false;
  long pumps = 0;
  long actAt = -1;
  std::function<void()> action;
  std::function<void()> onPump;  // at every pump
  std::function<void(const std::string&)> onStatus;
  bool answer = false;
  int questions = 0;
  std::vector<std::string> statuses;  // status panel texts in order
  std::vector<std::string> messages;  // "title: text"
  std::map<Command, bool> enabled;
  std::map<Command, bool> checked;
  std::vector<View> refreshed;
  int sounds = 0;

  // A search that runs away (a test whose trigger never comes, a search
  // that no longer cuts off) is stopped here and fails the test, instead of
  // running for ever on the frozen clock.
  long pumpLimit = 5'000'000;
  int32_t* stopRequest = nullptr;

  void pump() override {
    ++pumps;
    if (pumps == pumpLimit) {
      ADD_FAILURE() << "the search ran past " << pumpLimit << " event pumps";
      freezeInSearch = frozen = false;
      if (stopRequest) *stopRequest = 1;
    }
    if (onPump) onPump();
    if (pumps == actAt && action) action();
  }
  void message(Icon, std::string_view title, std::string_view text) override {
    messages.push_back(std::string(title) + ": " + std::string(text));
  }
  bool askYesNo(std::string_view title, std::string_view text) override {
    ++questions;
    messages.push_back(std::string(title) + "? " + std::string(text));
    return answer;
  }
  void status(int, std::string_view text) override {
    statuses.emplace_back(text);
    if (text.empty()) frozen = false;
    if (freezeInSearch && (text.rfind("Thinking... (", 0) == 0 || text.rfind("Analyzing... (", 0) == 0))
      frozen = true;
    if (onStatus) onStatus(std::string(text));
  }
  void setCommandEnabled(Command c, bool on) override { enabled[c] = on; }
  void setCommandChecked(Command c, bool on) override { checked[c] = on; }
  void playSound(Sound) override { ++sounds; }
  void refresh(View v) override { refreshed.push_back(v); }
  double secondsSinceMidnight() override { return 1000.0; }
  double monotonicSeconds() override {
    if (!frozen) now += step;
    return now;
  }

  int CountStatus(const std::string& text) const {
    return static_cast<int>(std::count(statuses.begin(), statuses.end(), text));
  }
  int CountStatusPrefix(const std::string& prefix) const {
    return static_cast<int>(
        std::count_if(statuses.begin(), statuses.end(), [&](const std::string& s) { return s.rfind(prefix, 0) == 0; }));
  }
  bool HasMessage(const std::string& m) const {
    return std::find(messages.begin(), messages.end(), m) != messages.end();
  }
};

// A game of the American rules on `digits` with `side` to move, searched at
// full strength to a fixed depth, without the book.
struct DriverGame {
  SearchGame t;
  DriverHost host;
  GameState& g;

  DriverGame(const std::string& digits, int side, int depth = 3,
             const std::function<void(RuleSet&)>& change = {})
      : g(*t.g) {
    t.Setup(digits, side, 0, change);
    Configure(depth);
  }

  // `variant` from its file, on `digits` (its start when empty) with `side`
  // to move, searched as above.
  DriverGame(std::string_view variant, const std::string& digits, int side, int depth) : g(*t.g) {
    std::string error;
    if (!StartSearchVariant(g, variant, digits, side, &error)) throw error;
    ResetPly(g);
    Configure(depth);
  }

  std::vector<MoveRecord> LegalMoves() {
    ResetPly(g);
    GenerateLegalMoves(g);
    return {g.P.MoveList.begin() + g.P.PlyStart[0], g.P.MoveList.begin() + g.P.PlyStart[1]};
  }

 private:
  void Configure(int depth) {
    g.host = &host;
    host.stopRequest = &g.P.StopRequest;
    g.Opt.Weakness = 0;
    g.Opt.DepthMode = 1;
    g.Opt.SearchDepth = depth;
    g.Opt.UseBook = 0;
    g.Opt.ShowCalculation = 1;
    g.Opt.AskForDraw = 0;
    g.Opt.UseRating = 0;
    g.Opt.PlayMode = 0;
  }
};

// A folder of its own under the temporary directory, removed with it: the
// program folder of a test that writes its own data files.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    path = std::filesystem::temp_directory_path() /
           ("m8driver-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories((path / name).parent_path());
    std::ofstream out(path / name, std::ios::binary);
    out << bytes;
  }
  std::filesystem::path path;
};

inline bool SameMove(const MoveRecord& a, const MoveRecord& b) { return a.From == b.From && a.To == b.To; }

// The same move also where captures share their start and end: the same
// pieces taken along the same route.
inline bool SameRoute(const MoveRecord& a, const MoveRecord& b) {
  return SameMove(a, b) && a.IsCapture() == b.IsCapture() && SameCapturedPieces(a, b) &&
         CapturePath(a) == CapturePath(b);
}

// The score of root move `m` of `d`'s position at iteration `depth`,
// searched with a full window at every iteration (the computer move's search
// set up as the driver sets it up, on a root list that holds `m` twice, so
// that it is searched first at every depth): what the root-score list may
// show for `m`, exactly or as a bound. kNoRootScore when `m` is no legal move
// there. `d` is used up.
inline int FullWindowScore(DriverGame& d, int depth, const MoveRecord& m) {
  GameState& g = d.g;
  const int side = g.P.SideToMove;
  const auto legal = d.LegalMoves();
  const auto it = std::find_if(legal.begin(), legal.end(), [&](const MoveRecord& x) { return SameRoute(x, m); });
  if (it == legal.end()) return kNoRootScore;
  g.P.MoveList[0] = *it;
  g.P.MoveList[1] = *it;
  g.P.PlyStart[1] = 2;
  g.P.MoveListEnd = 2;
  g.Eval.EvalExtraTerm = 1;
  g.Eval.NoiseAmplitude = NoiseForWeakness(g.Opt.Weakness);
  SetPhaseThresholds(g);
  Evaluate(g, -kInfinity, kInfinity, side);
  RootSearchParams params;
  params.member = ChooseFullNode(g);
  params.depthLimit = depth;
  params.aspirationWindow = 0;
  params.generateMoves = false;
  int searching = -1, score = kNoRootScore;
  RootSearchHooks hooks;
  hooks.moveStarting = [&](int, int i, bool) { searching = i; };
  hooks.moveDone = [&](int at, int, int s, bool) {
    if (at == depth && searching == 0) score = s;
  };
  SearchRoot(g, params, hooks);
  return score;
}

// Position 11 of a self-played game: Black's best score falls from 112 at
// depth 2 to 34 at depth 3.
inline const char* const kFallingScore = "0010101001010001101000100101000000002000000202022020202002020200";
inline const char* const kMiddleGame = "1010101001010101101010000000000000100020020202022020202002020202";
// White wins: kings and men against a lone black king (3 moves), or two men
// against a black man (2 moves).
inline const std::string kWinIn3 = Digits({{43, '3'}, {65, '3'}, {92, '2'}});
inline const std::string kWinIn2 = Digits({{34, '1'}, {36, '1'}, {56, '2'}});
// A black man shut in by white men: any white king move leaves Black
// without a move.
inline const std::string kShutIn = Digits({{21, '1'}, {25, '1'}, {32, '1'}, {34, '1'}, {52, '1'}, {54, '1'}, {87, '3'}, {43, '2'}});

}  // namespace m8::testing
