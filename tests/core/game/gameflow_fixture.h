// A game for the game-control tests: a recording host with a fast clock and
// a helper that plays a user move into the game record the way the move path
// records it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/game/gamesetup.h"
#include "core/host.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/state.h"

namespace m8::gameflow_test {

class FlowHost : public Host {
 public:
  std::vector<std::string> messages;  // "title|text"
  std::map<int, std::string> statusText;
  std::map<Command, bool> enabled;
  std::map<Command, bool> checked;
  std::vector<View> refreshed;
  std::vector<Sound> sounds;
  int questions = 0;
  bool answer = true;
  long pumps = 0;
  std::function<void(long)> onPump;
  double clock = 0;

  void pump() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }
  void message(Icon, std::string_view title, std::string_view text) override {
    messages.push_back(std::string(title) + "|" + std::string(text));
  }
  bool askYesNo(std::string_view, std::string_view) override {
    ++questions;
    return answer;
  }
  void status(int panel, std::string_view text) override { statusText[panel] = std::string(text); }
  void setCommandEnabled(Command c, bool on) override { enabled[c] = on; }
  void setCommandChecked(Command c, bool on) override { checked[c] = on; }
  void playSound(Sound s) override { sounds.push_back(s); }
  void refresh(View v) override { refreshed.push_back(v); }
  double secondsSinceMidnight() override { return 1000.0; }
  // Every reading is a quarter second later: pauses end at once.
  double monotonicSeconds() override { return clock += 0.25; }

  std::string status() const {
    auto i = statusText.find(1);
    return i == statusText.end() ? std::string() : i->second;
  }
  bool isEnabled(Command c) const {
    auto i = enabled.find(c);
    return i != enabled.end() && i->second;
  }
};

struct FlowGame {
  std::unique_ptr<FlowHost> host = std::make_unique<FlowHost>();
  std::unique_ptr<GameState> g = std::make_unique<GameState>();

  // American Checkers from its start; `folder` holds the variants and books
  // (the built-in rules and no book by default).
  explicit FlowGame(const std::string& folder = M8_BIN_DIR "/no-such-folder") {
    g->host = host.get();
    g->ProgramFolder = folder;
    g->Opt.DepthMode = 1;
    g->Opt.SearchDepth = 2;
    g->Opt.UseBook = 0;
    InitGame(*g);
  }

  // A position from Setup digits (1/2 white/black man, 3/4 white/black king)
  // with `side` to move, as the position editor leaves it.
  void Setup(const std::string& digits, int side) {
    for (int i = 0; i < 64; ++i) {
      const int cell = 10 * (2 + i / 8) + 1 + i % 8;
      constexpr int kValue[5] = {0, 1, -1, 2, -2};
      g->board[cell] = kValue[digits[i] - '0'];
    }
    g->P.SideToMove = side;
    g->Flow.PositionPreset = 1;
    SetupPositionState(*g);
  }

  // Plays a move text (upper case square names) as the user's move and
  // records it like the move path: record, history, move-list line, draw
  // rules.
  void Play(const std::string& text) {
    GameState& s = *g;
    ASSERT_TRUE(PlayMoveString(s, text)) << text;
    const MoveRecord m = s.P.MoveList[s.P.PlayedMoveIndex];
    const int ply = s.P.GamePly;
    RecordGameMove(s, m);
    s.Game.MaterialBalanceHistory[ply] = s.P.MaterialBalance[s.P.Ply];
    s.Game.BoardMaterialHistory[ply] = s.P.BoardMaterial[s.P.Ply];
    s.Game.GameMoves[ply + 1].From = 0;
    s.Game.GameRecord[(ply + 1) / 2][ply % 2 == 1 ? 2 : 3] = "2";
    s.Driver.MoveListLines[ply - 1] = "line " + std::to_string(ply);
    s.Driver.MoveListCount = ply;
    s.Driver.MoveListSelected = ply - 1;
    s.Flow.GameStarted = 1;
    CheckDrawRules(s);
    ResetPly(s);
  }

  bool HasMessage(const std::string& titleAndText) const {
    for (const auto& m : host->messages)
      if (m == titleAndText) return true;
    return false;
  }
};

// Setup digits from a list of (cell, piece digit).
inline std::string Digits(std::initializer_list<std::pair<int, char>> pieces) {
  std::string s(64, '0');
  for (auto [cell, piece] : pieces) s[(cell / 10 - 2) * 8 + (cell % 10 - 1)] = piece;
  return s;
}

}  // namespace m8::gameflow_test
