#include "core/rules/variantfile.h"
#include "core/rules/rulekeys.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "core/fileio.h"
#include "core/numtext.h"
#include "core/rules/movement.h"
#include "core/rules/setposition.h"
#include "core/textcode.h"
#include "core/textlimits.h"

namespace m8 {

namespace {

// The largest variant file read; the shipped ones are a few kilobytes.
constexpr std::uintmax_t kMaxVariantFileBytes = 1u << 20;

std::string Where(std::string_view file, int line, std::string_view key) {
  std::string s = "Variant file '" + std::string(file) + "'";
  if (line > 0) s += ", line " + std::to_string(line);
  if (!key.empty()) s += ", key " + std::string(key);
  return s;
}

bool Fail(std::string* error, std::string_view file, int line, std::string_view key, std::string_view why) {
  if (error) *error = Where(file, line, key) + ": " + std::string(why);
  return false;
}

// A value quoted in a message: as written, cut short when it is long.
std::string Quoted(std::string_view value) { return "\"" + Excerpt(value) + "\""; }

// Position string: one character per played cell in cell order. A missing
// character or one that is no digit leaves its cell empty; the digits 5 to 9
// stand for no piece and are refused.
bool ParseSetup(std::string_view value, Board& b, std::string* why) {
  b = DefaultStartBoard();
  size_t pos = 0;
  for (int c = 0; c < kCells; ++c) {
    if (b[c] == kOffBoard) continue;
    const char ch = pos < value.size() ? value[pos] : '0';
    int v = 0;
    switch (ch) {
      case '1': v = 1; break;
      case '2': v = -1; break;
      case '3': v = 2; break;
      case '4': v = -2; break;
      default:
        if (ch >= '5' && ch <= '9') {
          *why = std::string("'") + ch + "' at position " + std::to_string(pos + 1) + " is no piece (0 to 4)";
          return false;
        }
        break;
    }
    b[c] = v;
    ++pos;
  }
  return true;
}

// Text files hold no control characters but tab and the line ends; a file
// with a NUL byte anywhere is binary whatever else it holds.
bool IsTextLine(std::string_view line) {
  for (char c : line)
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return false;
  return true;
}

}  // namespace

bool ParsePromoSquares(std::string_view value, std::array<int32_t, kPromoEntries>& side, std::string* why) {
  side.fill(-1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  for (size_t at = 0; at < value.size(); at += 2) {
    const std::string_view pair = value.substr(at, 2);
    const char f = static_cast<char>(std::toupper(static_cast<unsigned char>(pair[0])));
    const char r = pair.size() == 2 ? pair[1] : '\0';
    if (f < 'A' || f > 'H' || r < '1' || r > '8') {
      if (why) *why = Quoted(pair) + " in " + Quoted(value) + " is no square (A1 to H8)";
      return false;
    }
    if (at / 2 < static_cast<size_t>(kPromoEntries)) side[at / 2] = (r - '1' + 2) * 10 + (f - 'A' + 1);
  }
  return true;
}

bool IsVariantName(std::string_view name, std::string* why) {
  std::string reason;
  if (!IsSafeFileName(name))
    reason = "'" + std::string(name) + "' is not a valid variant name.";
  else if (name.find('*') != std::string_view::npos)
    reason = "'" + std::string(name) + "' is not a valid variant name: a variant name cannot hold \"*\".";
  else if (CharCount(name) > kFieldChars)
    reason = "'" + Excerpt(name) + "' is not a valid variant name: a variant name has at most " +
             std::to_string(kFieldChars) + " characters.";
  if (reason.empty()) return true;
  if (why) *why = reason;
  return false;
}

bool ParseVariantText(std::string_view bytes, std::string_view file, VariantFileData& out,
                      std::string* error, bool firstLineKeyed) {
  out = VariantFileData{};
  out.info.VariantHelp.clear();
  out.info.HelpLink.clear();
  out.info.QuickHelpLink.clear();
  if (bytes.find('\0') != std::string_view::npos)
    return Fail(error, file, 0, "", "this is not a text file (it holds NUL bytes).");
  const std::string text = DecodeText(bytes);
  bool ended = false, failed = false;
  int lineNo = 0;
  std::string why;
  ForEachLine(text, [&](std::string_view line) {
    if (ended || failed) return;
    ++lineNo;
    auto bad = [&](std::string_view key, std::string_view reason) {
      failed = true;
      Fail(error, file, lineNo, key, reason);
    };
    if (!IsTextLine(line)) return bad("", "this is not a text file (it holds control characters).");
    if (lineNo == 1 && !firstLineKeyed) return;
    auto value = [&](std::string_view key) -> std::optional<std::string_view> {
      if (line.size() > key.size() && line[key.size()] == '=' && StartsWith(line, key))
        return line.substr(key.size() + 1);
      return std::nullopt;
    };
    if (auto v = value("Setup")) {
      if (*v != "normal") {
        Board b;
        if (!ParseSetup(*v, b, &why)) return bad("Setup", why);
        out.setup = b;
      }
    }
    for (const auto& k : NumericRuleKeys())
      if (auto v = value(k.name)) {
        const std::optional<int32_t> n = WholeNumber(*v);
        const std::string range = std::to_string(k.lo) + ".." + std::to_string(k.hi);
        if (!n) return bad(k.name, Quoted(*v) + " is not a whole number in " + range + ".");
        // A number past the 32-bit range reads as its bound, which is outside.
        if (*n < k.lo || *n > k.hi) return bad(k.name, Quoted(*v) + " is outside " + range + ".");
        out.rules.*k.member = *n;
      }
    for (int side = 0; side < 2; ++side) {
      const char* key = side == 0 ? "PromoW" : "PromoB";
      if (auto v = value(key))
        if (!ParsePromoSquares(*v, out.rules.PromoSquares[side], &why)) return bad(key, why + ".");
    }
    for (const auto& k : MovementKeys())
      if (auto v = value(k.name)) {
        if (!CheckMovementString(*v, &why)) return bad(k.name, why + ".");
        out.rules.MovementStrings[k.kind] = std::string(*v);
      }
    if (auto v = value("Help")) out.info.VariantHelp += (*v == "<br>") ? std::string("\r\n") : std::string(*v);
    if (auto v = value("HelpLink")) out.info.HelpLink = std::string(*v);
    if (auto v = value("QuickHelpLink")) out.info.QuickHelpLink = std::string(*v);
    if (line == "END") ended = true;
  });
  if (failed) return false;
  if (!ended) return Fail(error, file, 0, "", "the file has no line END.");
  return true;
}

std::optional<std::string> ReadVariantBytes(const std::string& path, std::string* error) {
  FileRead read = ReadFileChecked(path, kMaxVariantFileBytes);
  if (read.status == ReadStatus::Ok) return std::move(read.bytes);
  if (error)
    *error = "Variant file '" + path + "' " +
             (read.status == ReadStatus::TooLarge ? "is too large (more than 1 MiB)." : "is missing or cannot be read.");
  return std::nullopt;
}

const std::string& VariantsRoot(const PositionState& g, int32_t useClassic) {
  return useClassic == 1 ? g.ProgramFolder : UserFolderOf(g);
}

std::string VariantFilePath(const PositionState& g, int32_t useClassic, std::string_view variantName) {
  std::string rel = useClassic == 1 ? "variants/" : "variants/uservariants/";
  return ResolvePath(VariantsRoot(g, useClassic), rel + std::string(variantName) + ".ini");
}

std::string VariantFilePath(const PositionState& g, std::string_view variantName) {
  return VariantFilePath(g, g.Opt.UseClassic, variantName);
}

bool ReadVariantFile(PositionState& g, std::string* error) {
  const std::string name = g.Rules.Variant;
  if (!IsVariantName(name, error)) return false;
  const std::string path = VariantFilePath(g, name);
  const auto text = ReadVariantBytes(path, error);
  if (!text) return false;
  VariantFileData data;
  if (!ParseVariantText(*text, path, data, error)) return false;

  data.rules.Variant = name;
  g.VariantRules = data.rules;
  g.Variant = data.info;
  g.Variant.LoadedVariantName = name;
  g.Variant.StartPosition = data.setup;
  auto& mb = g.P.MaterialBalance[0];
  auto& mbHistory = g.Game.MaterialBalanceHistory[0];
  if (data.setup) {
    g.board = *data.setup;
    g.StartBoard = *data.setup;
    const MaterialCount n = CountMaterial(g.board);
    StoreMaterialCounts(g, n);
    mb = (n.black - n.white) * 100;
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
