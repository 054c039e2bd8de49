#include "core/rules/variantfile.h"

#include "core/fileio.h"
#include "core/numtext.h"
#include "core/rules/movement.h"

namespace m8 {

namespace {

bool Fail(std::string* error, std::string_view file, std::string_view key, std::string_view why) {
  if (error) *error = "Variant file '" + std::string(file) + "', key " + std::string(key) + ": " + std::string(why);
  return false;
}

int PieceValue(char c) {
  switch (c) {
    case '0': return 0;
    case '1': return 1;
    case '2': return -1;
    case '3': return 2;
    case '4': return -2;
    default: return 99;
  }
}

bool ParseSetup(std::string_view value, Board& b, std::string* why) {
  if (value.size() != 64) {
    *why = "the position must have 64 digits, it has " + std::to_string(value.size());
    return false;
  }
  b = DefaultStartBoard();
  size_t pos = 0;
  for (int c = 0; c < kCells; ++c) {
    if (b[c] == kOffBoard) continue;
    int v = PieceValue(value[pos]);
    if (v == 99) {
      *why = std::string("'") + value[pos] + "' at position " + std::to_string(pos + 1) + " is not a digit 0 to 4";
      return false;
    }
    b[c] = v;
    ++pos;
  }
  return true;
}

bool ParsePromo(std::string_view value, std::array<int32_t, kPromoEntries>& side, std::string* why) {
  side.fill(-1);
  if (value.size() % 2 != 0) {
    *why = "square names have two characters";
    return false;
  }
  if (value.size() / 2 > kPromoEntries) {
    *why = "more than 12 promotion squares";
    return false;
  }
  for (size_t k = 0; k * 2 < value.size(); ++k) {
    char f = value[2 * k], r = value[2 * k + 1];
    if (f < 'A' || f > 'H' || r < '1' || r > '8') {
      *why = "'" + std::string(value.substr(2 * k, 2)) + "' is not a square";
      return false;
    }
    side[k] = (r - '1' + 2) * 10 + (f - 'A' + 1);
  }
  return true;
}

bool CheckMovement(std::string_view value, std::string* why) {
  size_t blank = value.find(' ');
  std::string_view moves = value.substr(0, blank);
  std::string_view caps = blank == std::string_view::npos ? std::string_view{} : value.substr(blank + 1);
  if (CountDirectionNames(moves) > 8 || CountDirectionNames(caps) > 8) {
    *why = "more than eight direction names in one list";
    return false;
  }
  return true;
}

struct Range {
  const char* key;
  int lo, hi;
};
// Values the program uses as counts or table indexes.
constexpr Range kRanges[] = {
    {"PiecesOnBlack", 0, 2}, {"NumberMen", 0, 32},       {"NumberMoves", 0, 200},
    {"ContractNumber", 0, 32}, {"NumberKings", 0, 1000}, {"NumberKings2", 0, 1000},
    {"NumberPieces", 0, 64}, {"NumberFriends", -1, 64},
};

}  // namespace

bool ParseVariantText(std::string_view text, std::string_view file, VariantFileData& out,
                      std::string* error) {
  out = VariantFileData{};
  out.info.VariantHelp.clear();
  out.info.HelpLink.clear();
  out.info.QuickHelpLink.clear();
  bool first = true, ended = false, failed = false;
  std::string why;
  ForEachLine(text, [&](std::string_view line) {
    if (ended || failed) return;
    if (first) {
      first = false;
      return;
    }
    auto value = [&](std::string_view key) -> std::optional<std::string_view> {
      if (line.size() > key.size() && line[key.size()] == '=' && StartsWith(line, key))
        return line.substr(key.size() + 1);
      return std::nullopt;
    };
    auto bad = [&](std::string_view key, std::string_view reason) {
      failed = true;
      Fail(error, file, key, reason);
    };
    if (auto v = value("Setup")) {
      if (*v != "normal") {
        Board b;
        if (!ParseSetup(*v, b, &why)) return bad("Setup", why);
        out.setup = b;
      }
    }
    for (const auto& k : NumericRuleKeys())
      if (auto v = value(k.name)) out.rules.*k.member = ValInt(*v);
    if (auto v = value("PromoW"))
      if (!ParsePromo(*v, out.rules.PromoSquares[0], &why)) return bad("PromoW", why);
    if (auto v = value("PromoB"))
      if (!ParsePromo(*v, out.rules.PromoSquares[1], &why)) return bad("PromoB", why);
    for (const auto& k : MovementKeys())
      if (auto v = value(k.name)) {
        if (!CheckMovement(*v, &why)) return bad(k.name, why);
        out.rules.MovementStrings[k.kind] = std::string(*v);
      }
    if (auto v = value("Help")) out.info.VariantHelp += (*v == "<br>") ? std::string("\r\n") : std::string(*v);
    if (auto v = value("HelpLink")) out.info.HelpLink = std::string(*v);
    if (auto v = value("QuickHelpLink")) out.info.QuickHelpLink = std::string(*v);
    if (line == "END") ended = true;
  });
  if (failed) return false;
  if (!ended) return Fail(error, file, "END", "the file has no line END");
  for (const auto& r : kRanges) {
    int v = out.rules.*FindRuleKey(r.key)->member;
    if (v < r.lo || v > r.hi)
      return Fail(error, file, r.key,
                  std::to_string(v) + " is outside " + std::to_string(r.lo) + ".." + std::to_string(r.hi));
  }
  return true;
}

bool RuleValueRange(std::string_view key, int* lo, int* hi) {
  for (const auto& r : kRanges)
    if (key == r.key) {
      *lo = r.lo;
      *hi = r.hi;
      return true;
    }
  return false;
}

std::string VariantFilePath(const std::string& programFolder, int32_t useClassic, std::string_view variantName) {
  std::string rel = useClassic == 1 ? "variants/" : "variants/uservariants/";
  return ResolvePath(programFolder, rel + std::string(variantName) + ".ini");
}

std::string VariantFilePath(const GameState& g, std::string_view variantName) {
  return VariantFilePath(g.ProgramFolder, g.Opt.UseClassic, variantName);
}

bool ReadVariantFile(GameState& g, std::string* error) {
  const std::string name = g.Rules.Variant;
  if (!IsSafeFileName(name)) {
    if (error) *error = "'" + name + "' is not a valid variant name.";
    return false;
  }
  const std::string path = VariantFilePath(g, name);
  auto text = ReadWholeFile(path, 1u << 20);
  if (!text) {
    if (error) *error = "Variant file '" + path + "' is missing or cannot be read.";
    return false;
  }
  VariantFileData data;
  if (!ParseVariantText(*text, path, data, error)) return false;

  data.rules.Variant = name;
  g.VariantRules = data.rules;
  g.Variant = data.info;
  g.Variant.LoadedVariantName = name;
  auto& mb = g.P.MaterialBalance[0];
  auto& mbHistory = g.Game.MaterialBalanceHistory[0];
  if (data.setup) {
    g.board = *data.setup;
    g.StartBoard = *data.setup;
    int white = 0, black = 0;
    g.Mat.WhiteMen = g.Mat.BlackMen = 0;
    g.Mat.TotalMaterial = 0;
    for (int c = 0; c < kCells; ++c) {
      int v = g.board[c];
      if (v == kOffBoard || v == 0) continue;
      if (v > 0) white += v; else black -= v;
      g.Mat.WhiteMen += v == 1;
      g.Mat.BlackMen += v == -1;
      g.Mat.TotalMaterial += v > 0 ? v : -v;
    }
    mb = (black - white) * 100;
    mbHistory = mb;
  }
  // The balance above is black's view; white moves first when BlackStarts is 0.
  if (g.VariantRules.BlackStarts == 0) {
    mb = -mb;
    mbHistory = -mbHistory;
  }
  return true;
}

}  // namespace m8
