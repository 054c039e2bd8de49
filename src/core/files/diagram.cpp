#include "core/files/diagram.h"

#include "core/fileio.h"
#include "core/files/gamesave.h"
#include "core/files/settings.h"
#include "core/numtext.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

// The page is HTML: the texts the user typed must not become markup.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

const char* PictureName(int value, bool dark) {
  switch (value) {
    case 1: return dark ? "dwhite_man" : "lwhite_man";
    case -1: return dark ? "dblack_man" : "lblack_man";
    case 2: return dark ? "dwhite_king" : "lwhite_king";
    case -2: return dark ? "dblack_king" : "lblack_king";
    default: return dark ? "dsquare" : "lsquare";
  }
}

// Where the page finds the square pictures. In the program folder they lie
// beside it; a page written to the user's own folder (a read-only install)
// names the program folder's pictures by a file URL.
std::string PicturesFolderUrl(const GameState& g) {
  if (g.UserFolder.empty()) return "pieces/";
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : ResolvePath(g.ProgramFolder, "pieces")) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url + "/";
}

}  // namespace

std::string DiagramHtml(GameState& g) {
  std::string out;
  auto line = [&](const std::string& s) { out += s + "\r\n"; };
  line("<HTML>");
  line("<HEAD>");
  line("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">");
  line("<TITLE>" + Escaped(g.Variant.LoadedVariantName) + "</TITLE>");
  line("</HEAD>");
  line("");
  line("<BODY>");
  line("<TABLE BORDER=\"1\" BORDERCOLOR=\"#000000\">");
  line("<TR>");
  line("<TD>");
  const std::string pictures = PicturesFolderUrl(g);
  for (int r = 9; r >= 2; --r) {
    std::string row;
    for (int c = 1; c <= 8; ++c) {
      const int cell = g.Opt.BoardTurned == 1 ? 10 * (11 - r) + (9 - c) : 10 * r + c;
      const int value = g.board[cell];
      bool dark = true;
      if (value == 0 || value == kOffBoard || g.Rules.PiecesOnBlack >= 2) {
        IsPlayableSquare(g, 10 * r + c);
        dark = g.SquareIsPlayable == 1;
      }
      row += "<IMG SRC=\"" + pictures + PictureName(value, dark) + ".bmp\">";
    }
    line(row + "<BR>");
  }
  line("</TD>");
  line("</TR>");
  line("</TABLE>");
  const std::string& comment = g.Flow.CommentText;
  if (!comment.empty()) {
    line("<BR>");
    bool firstLine = true;
    size_t i = 0;
    while (i <= comment.size()) {
      size_t j = comment.find('\n', i);
      if (j == std::string::npos) j = comment.size();
      std::string text = comment.substr(i, j - i);
      if (!text.empty() && text.back() == '\r') text.pop_back();
      if (!firstLine) line("<BR>");
      line(Escaped(text));
      firstLine = false;
      i = j + 1;
    }
  }
  line("</BODY>");
  line("");
  line("</HTML>");
  return out;
}

bool CreateHtmlDiagram(GameState& g) {
  std::string error;
  const std::string path = UserFile(g, kDiagramFileName);
  if (!ReplaceFile(path, DiagramHtml(g), &error)) {
    g.host->message(Icon::Exclamation, "Error", std::string(kDiagramFileName) + " cannot be written.\r\n" + SentenceStart(error));
    return false;
  }
  // The file goes to the user's data folder when the program folder is
  // read-only: the message names the place.
  g.host->message(Icon::Information, "Diagram", "DIAGRAM.HTML created\r\n" + path);
  return true;
}

}  // namespace m8
