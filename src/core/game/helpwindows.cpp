#include "core/game/helpwindows.h"

#include "core/numtext.h"
#include "core/rules/ruleseditor.h"
#include "core/rules/variantfile.h"
#include "core/version.h"

namespace m8 {

std::string AboutVersionText() { return std::string("Version ") + kProgramVersion; }

std::string RulesHelpText(const GameState& g) {
  if (g.Variant.VariantHelp.empty()) return "No help available";
  return "Rules for " + g.Variant.LoadedVariantName + "\r\n\r\n" + g.Variant.VariantHelp;
}

std::string ShownHelpLink(const GameState& g) {
  const std::string& link = g.Variant.HelpLink;
  if (link.empty() || ToLower(link).find(kOwnSiteMarker) != std::string::npos) return {};
  return link;
}

std::string RulesWindowCaption(const GameState& g) { return " Rules for " + g.Variant.LoadedVariantName; }

std::vector<std::string> PdnVariantNames(const GameState& g) {
  return ListVariantNames(VariantsRoot(g, g.Opt.UseClassic), g.Opt.UseClassic);
}

}  // namespace m8
