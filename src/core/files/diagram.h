// The HTML diagram: the position on the screen as a small web page
// "diagram.html" in the user's folder (UserFolderOf), one picture per square
// (the pictures of the program folder's "pieces/", beside the page unless the
// user's files are kept elsewhere), followed by the comment of the position.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

inline constexpr const char* kDiagramFileName = "diagram.html";

// The page for the board as shown (BoardTurned) and the comment in the
// comment box, as UTF-8 text with CR LF line ends; the page's head declares
// the charset.
std::string DiagramHtml(GameState& g);

// Writes "diagram.html" (replacing it) and says "DIAGRAM.HTML created" and,
// on the next line, the file's path;
// false, with the host told, when it cannot be written.
bool CreateHtmlDiagram(GameState& g);

}  // namespace m8
