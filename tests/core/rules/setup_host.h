// A host that records what the core asks of the window, with a clock the test
// sets (the set-up seeds the random generator from it).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/host.h"
#include "core/state.h"

namespace m8::testing {

class SetupHost : public Host {
 public:
  double clock = 1000.0;
  std::vector<std::string> messages;
  std::map<int, std::string> statusText;
  std::map<Command, bool> enabled;
  std::vector<View> refreshed;

  void message(Icon, std::string_view title, std::string_view text) override {
    messages.push_back(std::string(title) + ": " + std::string(text));
  }
  void status(int panel, std::string_view text) override { statusText[panel] = std::string(text); }
  void setCommandEnabled(Command c, bool on) override { enabled[c] = on; }
  void refresh(View v) override { refreshed.push_back(v); }
  double secondsSinceMidnight() override { return clock; }
};

// A game state on the heap (it is large) wired to a recording host.
struct HostedGame {
  std::unique_ptr<SetupHost> host = std::make_unique<SetupHost>();
  std::unique_ptr<GameState> g = std::make_unique<GameState>();
  HostedGame() { g->host = host.get(); }
};

}  // namespace m8::testing
