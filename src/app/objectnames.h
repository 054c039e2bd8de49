// The object names of the window's controls, in one place. Code names a
// control for what it holds; the object name is what the window tests and
// the skin layout look it up by, and it keeps the form's original name.
#pragma once

namespace objectnames {

// Main window
inline constexpr char kToolBar[] = "Toolbar1";
inline constexpr char kTopNameLabel[] = "Label1";       // the player beside the upper side
inline constexpr char kBottomNameLabel[] = "Label2";    // the player beside the lower side
inline constexpr char kTopSideLabel[] = "Label3";       // "Black" or "White"
inline constexpr char kBottomSideLabel[] = "Label4";
inline constexpr char kTopCountLabel[] = "Label5";      // the upper side's pieces on the board
inline constexpr char kBottomCountLabel[] = "Label6";
inline constexpr char kStrengthLabel[] = "Label7";
inline constexpr char kVariantNameLabel[] = "Label8";
inline constexpr char kEngineOutputLabel[] = "Label9";
inline constexpr char kExtraPiecesLabel[] = "Label10";  // "Extra Pieces:"
inline constexpr char kExtraBlackLabel[] = "Label11";
inline constexpr char kExtraBlackCountLabel[] = "Label12";
inline constexpr char kExtraWhiteLabel[] = "Label13";
inline constexpr char kExtraWhiteCountLabel[] = "Label14";
inline constexpr char kPlayedMoves[] = "List1";
inline constexpr char kLegalMoves[] = "List2";
inline constexpr char kRootMoves[] = "List3";           // the root moves with their scores
inline constexpr char kCommentBox[] = "Text1";
inline constexpr char kMoveBox[] = "Text2";
inline constexpr char kPlayMoveButton[] = "Command1";
inline constexpr char kEmblemPicture[] = "Picture11";
inline constexpr char kProgress[] = "Progress";
inline constexpr char kStatusPanel[] = "StatusPanel%1";  // %1: 1..3

}  // namespace objectnames
