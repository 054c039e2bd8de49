// The object names of the window's controls, in one place. Code names a
// control for what it holds; the object name is what the window tests and
// the skin layout look it up by, and it keeps the form's original name.
#pragma once

namespace objectnames {

// Main window
inline constexpr char kToolBar[] = "Toolbar1";
inline constexpr char kToolBarButton[] = "Toolbar1_%1";  // %1: 1..the number of buttons
inline constexpr char kBoard[] = "c";
inline constexpr char kSetupPopup[] = "mnuSetup";       // the position editor's square menu
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

// The menus and their entries.
inline constexpr char kGameMenu[] = "mnuGame";
inline constexpr char kPlayMenu[] = "mnuPlay";
inline constexpr char kBoardMenu[] = "mnu_Board1";
inline constexpr char kNotationMenu[] = "Notation1";
inline constexpr char kViewMenu[] = "view";
inline constexpr char kExtraMenu[] = "extra";
inline constexpr char kHelpMenu[] = "Help";
inline constexpr char kNewGameEntry[] = "New1";
inline constexpr char kNewVariantEntry[] = "NewVariant";
inline constexpr char kOpenEntry[] = "Open1";
inline constexpr char kSaveEntry[] = "Save";
inline constexpr char kDetailsEntry[] = "Details";
inline constexpr char kExitEntry[] = "Exit";
inline constexpr char kComputeEntry[] = "Compute";
inline constexpr char kCancelEntry[] = "mnu_Play_Cancel";
inline constexpr char kFirstEntry[] = "First";
inline constexpr char kBackEntry[] = "Moveback";
inline constexpr char kForwardEntry[] = "MoveForward";
inline constexpr char kLastEntry[] = "Last";
inline constexpr char kOfferDrawEntry[] = "Offerdraw";
inline constexpr char kResignEntry[] = "Resign";
inline constexpr char kHintEntry[] = "Hint";
inline constexpr char kComputerPlayerEntry[] = "Cplayer";
inline constexpr char kPlayerPlayerEntry[] = "Pplayer";
inline constexpr char kComputerComputerEntry[] = "mnu_Play_Ccomputer";
inline constexpr char kOptionsEntry[] = "Options";
inline constexpr char kAnalyzeEntry[] = "Analyze";
inline constexpr char kTurnBoardEntry[] = "Turn";
inline constexpr char kNoNotationEntry[] = "Nonotation";
inline constexpr char kAlgebraicEntry[] = "mnu_Board_Notation_Chess";
inline constexpr char kNumericEntry[] = "mnu_Board_Notation_Checkers";
inline constexpr char kDiagramEntry[] = "CreateHtml";
inline constexpr char kCalculationEntry[] = "calculation";
inline constexpr char kRatingEntry[] = "rating";
inline constexpr char kPlyValueEntry[] = "plyvaluetable";
inline constexpr char kProblemsEntry[] = "problems";
inline constexpr char kQuickRulesEntry[] = "QuickRules";
inline constexpr char kRulesEntry[] = "Rules";
inline constexpr char kAboutEntry[] = "mnu_Help_About";
// The position editor's square menu.
inline constexpr char kClearBoardEntry[] = "mnu_PopUp_ClearBoard";
inline constexpr char kEmptyEntry[] = "empty1";
inline constexpr char kBlackManEntry[] = "mnu_PopUp_BlackChecker";
inline constexpr char kBlackKingEntry[] = "mnu_PopUp_BlackKing";
inline constexpr char kWhiteManEntry[] = "Whitechecker";
inline constexpr char kWhiteKingEntry[] = "Whiteking";
inline constexpr char kBlackMovesEntry[] = "mnu_PopUp_BlackM";
inline constexpr char kWhiteMovesEntry[] = "WhiteM";
inline constexpr char kPriorityEntry[] = "mnuFocus";

// Dialogs
// The object that opens and wires the dialogs.
inline constexpr char kDialogWindows[] = "dialogWindows";
// The body of a dialog that scrolls when the screen is smaller than it.
inline constexpr char kScrollingBody[] = "scrollingBody";
// The ply value table window.
inline constexpr char kPlyValueWindow[] = "frmPV";
inline constexpr char kPlyValueSortLabel[] = "Label1";
inline constexpr char kPlyValueSortBox[] = "Combo1";
inline constexpr char kPlyValueTable[] = "Text1";
inline constexpr char kPlyValueOutput[] = "Label9";
inline constexpr char kPlyValueOk[] = "Command1";
inline constexpr char kPlyValueCancel[] = "Command2";
inline constexpr char kPlyValueProgress[] = "Progress";
// The problem window.
inline constexpr char kProblemWindow[] = "frmProblem";
inline constexpr char kProblemText[] = "Text1";
inline constexpr char kProblemSummary[] = "Label1";
inline constexpr char kProblemOk[] = "Command1";
// The rules window.
inline constexpr char kRulesWindow[] = "frmRules";
inline constexpr char kRulesScroll[] = "Scroll1";
inline constexpr char kRulesLinkLabel[] = "Label1";
inline constexpr char kRulesText[] = "Label2";
inline constexpr char kRulesFrame[] = "Frame1";
inline constexpr char kRulesOk[] = "Command1";
// The About window.
inline constexpr char kAboutWindow[] = "frmAbout";
inline constexpr char kAboutTitleLabel[] = "Label8";
inline constexpr char kAboutVersionLabel[] = "Label3";
inline constexpr char kAboutDescriptionLabel[] = "Label2";
inline constexpr char kAboutNoticeLabel[] = "Label1";
inline constexpr char kAboutMailLink[] = "Label10";
inline constexpr char kAboutWebLink[] = "Label9";
inline constexpr char kAboutLinksFrame[] = "Frame1";
inline constexpr char kAboutIcon[] = "Picture1";
inline constexpr char kAboutOk[] = "cmdOK";
// The rules editor.
inline constexpr char kVariantsDialog[] = "dlgVariants";
inline constexpr char kRulesBody[] = "rulesBody";  // the frames, which scroll on a small screen
inline constexpr char kVariantChooseLabel[] = "Label1";
inline constexpr char kVariantBox[] = "Combo1";
inline constexpr char kClassicVariants[] = "Option1";
inline constexpr char kUserVariants[] = "Option2";
inline constexpr char kVariantHelpLink[] = "Label10";
inline constexpr char kVariantHelpFrame[] = "Frame10";
inline constexpr char kVariantRandom[] = "Random";
inline constexpr char kRuleCheck[] = "Check%1";        // %1: the rule's box number
inline constexpr char kRuleNumber[] = "Text%1";        // %1: the rule's number box
inline constexpr char kRuleNumberLabel[] = "Label%1";  // %1: the number box's label number
inline constexpr char kCapturesFrame[] = "Frame1";
inline constexpr char kCapturesLine[] = "Line1";
inline constexpr char kMiscFrame[] = "Frame2";
inline constexpr char kWinDrawFrame[] = "Frame3";
inline constexpr char kFlyingKingsFrame[] = "Frame4";
inline constexpr char kOpeningFrame[] = "Frame5";
inline constexpr char kOffBoardFrame[] = "Frame6";
inline constexpr char kVariantRulesFrame[] = "Frame7";
inline constexpr char kPromotionFrame[] = "Frame8";
inline constexpr char kPromoWhiteLabel[] = "Label2";
inline constexpr char kPromoBlackLabel[] = "Label3";
inline constexpr char kPromoBox[] = "Text1_%1";        // %1: 0..11 White, 12..23 Black
inline constexpr char kDirectionsFrame[] = "Frame9";
inline constexpr char kNormalMovesLabel[] = "Label6";
inline constexpr char kCaptureMovesLabel[] = "Label7";
inline constexpr char kMovementBox[] = "Text2_%1";     // %1: kind k moves, k + 4 captures
inline constexpr char kVariantsOk[] = "OKButton";
inline constexpr char kVariantsApply[] = "Variantsapply";
inline constexpr char kVariantsCancel[] = "CancelButton";
// The PDN game chooser.
inline constexpr char kPdnDialog[] = "dlgPDN";
inline constexpr char kPdnOk[] = "OKButton";
inline constexpr char kPdnCancel[] = "CancelButton";
inline constexpr char kPdnGamesList[] = "ListView1";
inline constexpr char kPdnOpenAsLabel[] = "Label2";
inline constexpr char kPdnOpenAsBox[] = "Combo1";
// The options.
inline constexpr char kOptionsDialog[] = "frmOptions";
inline constexpr char kOptionsTabs[] = "tbsOptions";
inline constexpr char kOptionsPage[] = "picOptions%1";  // %1: the page, from 0
inline constexpr char kOptionsOk[] = "cmdOK";
inline constexpr char kOptionsCancel[] = "cmdCancel";
inline constexpr char kOptionsApply[] = "cmdApply";
inline constexpr char kStrengthSlider[] = "Slider2";
inline constexpr char kDepthSlider[] = "Slider4";
inline constexpr char kTimeSlider[] = "Slider1";
inline constexpr char kDepthLimitBox[] = "Check1";
inline constexpr char kTimeLimitBox[] = "Check2";
inline constexpr char kSkinBox[] = "Combo1";
inline constexpr char kCaptureCharButton[] = "Option1_%1";  // %1: 0 "X", 1 ":"
inline constexpr char kPliesBox[] = "Text2";
inline constexpr char kBalanceBox[] = "Text3";
inline constexpr char kPlyValueDepthBox[] = "Text4";
inline constexpr char kResetRatingButton[] = "Command1";
inline constexpr char kUserNameBox[] = "Text1";
// The options' check boxes, one option each.
inline constexpr char kCapitalNotationBox[] = "Check5";
inline constexpr char kShowMovesBox[] = "Check3";
inline constexpr char kExtendedSearchBox[] = "Check7";
inline constexpr char kBruteForceBox[] = "Check13";
inline constexpr char kChessDrawRulesBox[] = "Check4";
inline constexpr char kKingVersusKingBox[] = "Check10";
inline constexpr char kAskForDrawBox[] = "Check8";
inline constexpr char kUseBookBox[] = "Check9";
inline constexpr char kAmericanBookBox[] = "Check12";
inline constexpr char kChooseOpeningBox[] = "Check14";
inline constexpr char kBookRandomBox[] = "Check15";
inline constexpr char kTouchMoveBox[] = "Check19";
inline constexpr char kPdnAlgebraicBox[] = "Check11";
inline constexpr char kUseSoundBox[] = "Check18";
inline constexpr char kAutoSaveBox[] = "Check17";
inline constexpr char kUseRatingBox[] = "Check16";
inline constexpr char kConfirmExitBox[] = "Check6";
// The move-count draw rule's buttons, by the number of moves.
inline constexpr char kFifty16Button[] = "Option2";
inline constexpr char kFifty20Button[] = "Option3";
inline constexpr char kFifty32Button[] = "Option4";
inline constexpr char kFifty40Button[] = "Option5";
inline constexpr char kFifty50Button[] = "Option6";
// The options' captions and slider marks.
inline constexpr char kStrengthEasyLabel[] = "Label5";
inline constexpr char kStrengthMediumLabel[] = "Label6";
inline constexpr char kStrengthHardLabel[] = "Label7";
inline constexpr char kDepthCaption[] = "Label12";
inline constexpr char kDepthFirstLabel[] = "Label10";
inline constexpr char kDepthMiddleLabel[] = "Label8";
inline constexpr char kDepthLastLabel[] = "Label9";
inline constexpr char kTimeCaption[] = "Label1";
inline constexpr char kTimeFirstLabel[] = "Label2";
inline constexpr char kTimeMiddleLabel[] = "Label4";
inline constexpr char kTimeLastLabel[] = "Label3";
inline constexpr char kSkinCaption[] = "Label17";
inline constexpr char kCaptureCharCaption[] = "Label14";
inline constexpr char kPliesCaption[] = "Label15";
inline constexpr char kBalanceCaption[] = "Label16";
inline constexpr char kPlyValueDepthCaption[] = "Label18";
inline constexpr char kFiftyCaption[] = "Label13";
inline constexpr char kUserNameCaption[] = "Label11";
// The game details.
inline constexpr char kDetailsDialog[] = "dlgDetails";
inline constexpr char kDetailsLabel[] = "Label%1";  // %1: 1..5, as the boxes
inline constexpr char kDetailsBox[] = "Text%1";     // %1: 1..5, Event, Site, Date, Black, White
inline constexpr char kDetailsApply[] = "Command1";
inline constexpr char kDetailsOk[] = "OKButton";
inline constexpr char kDetailsCancel[] = "CancelButton";

}  // namespace objectnames
