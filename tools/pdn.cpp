// morventa8-pdn [--variant NAME] [--tags] FILE
// Reads every game of a PDN file as the program's loader does (with "Open
// as" NAME when given, else under each game's own tags), replays its main
// line and prints one line per game:
//   game N ok plies P result R setup DIGITS side w|b
// where DIGITS is the final position as the 64-digit Setup string that
// morventa8-perft --setup takes and the side is the side to move, or
//   game N refused line L: MESSAGE
// With --tags the first line is "encoding NAME", the encoding the file was
// read in ("encoding mixed" when its games were read in different ones,
// each game's then given as "  encoding NAME" under its line), and under each
// game's line every tag of the game follows as '  [Name "Value"]', in UTF-8.
// The exit status is 0 when the file could be read (whatever its games
// hold), 1 when it could not or the output could not all be written, 2 for
// a wrong command line.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "core/fileio.h"
#include "core/files/pdn.h"
#include "core/game/gameloader.h"
#include "core/game/gamesetup.h"
#include "core/rules/notation.h"
#include "core/state.h"
#include "toolsupport.h"

namespace {

// Keeps the last message the loader gives.
struct QuietHost : m8::Host {
  void message(m8::Icon, std::string_view, std::string_view text) override { last = std::string(text); }
  std::string last;
};

// A message on one line: its line breaks become blanks.
std::string OneLine(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
  }
  return out;
}

int Usage() {
  std::fprintf(stderr, "usage: morventa8-pdn [--variant NAME] [--tags] FILE\n");
  return 2;
}

// The tool itself (see RunTool).
int Run(int argc, char** argv) {
  std::string variant, path;
  bool tags = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--variant" && i + 1 < argc && variant.empty()) {
      variant = argv[++i];
    } else if (a == "--tags" && !tags) {
      tags = true;
    } else if (path.empty() && !a.empty() && (a[0] != '-' || a == "-")) {
      path = a;
    } else {
      return Usage();
    }
  }
  if (path.empty()) return Usage();

  auto g = std::make_unique<m8::GameState>();
  QuietHost host;
  g->host = &host;
  g->ProgramFolder = m8tools::ProgramFolder(argv[0]);
  m8::InitGame(*g);

  const std::string title = std::filesystem::path(path).filename().string();
  const m8::FileRead read = m8::ReadFileChecked(path, m8::kMaxGameFileBytes);
  if (read.status != m8::ReadStatus::Ok) {
    std::fprintf(stderr, "morventa8-pdn: %s\n", m8::GameFileReadText(read, path).c_str());
    return 1;
  }
  const std::string* bytes = &read.bytes;
  m8::PdnFile file;
  m8::FileProblem problem;
  if (!m8::ReadPdnFile(*bytes, title, file, problem)) {
    std::fprintf(stderr, "morventa8-pdn: %s\n", OneLine(problem.text).c_str());
    return 1;
  }
  const m8::ForeignText reading = m8::ReadPdnText(*bytes);
  const bool mixed = reading.Mixed();
  if (tags) {
    const m8::TextReading& first = reading.parts.empty() ? m8::TextReading{} : reading.parts.front().reading;
    const auto shown = std::find_if(reading.parts.begin(), reading.parts.end(), [](const auto& p) { return !p.plain; });
    const std::string name(m8::ReadingName(shown == reading.parts.end() ? first : shown->reading));
    std::printf("encoding %s\n", mixed ? "mixed" : name.c_str());
  }
  for (int n = 1; n <= static_cast<int>(file.games.size()); ++n) {
    host.last.clear();
    int line = 0;
    if (!m8::LoadPdnGame(*g, file, n, variant, title, &line)) {
      std::printf("game %d refused line %d: %s\n", n, line, OneLine(host.last).c_str());
    } else {
      std::printf("game %d ok plies %d result %s setup %s side %s\n", n, g->Game.GameLength,
                  m8::PdnStandardResult(g->Flow.GameResult).c_str(), m8::BoardToSetupString(g->board).c_str(),
                  g->P.SideToMove == 1 ? "w" : "b");
    }
    if (!tags) continue;
    const m8::PdnGame& game = file.games[static_cast<size_t>(n - 1)];
    if (mixed) std::printf("  encoding %s\n", game.encoding.c_str());
    for (const auto& [name, value] : game.tagList) std::printf("  %s\n", m8::PdnTagLine(name, value).c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return m8tools::RunTool(Run, "morventa8-pdn", argc, argv); }
