#include "core/textcode.h"
#include "core/icubytes_fixture.h"

#include <unicode/ucnv.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace m8 {
namespace {

TEST(TextCode, DecodeTakesValidUtf8AndOtherwiseLatin1) {
  struct Case {
    const char* bytes;
    const char* text;
  } cases[] = {
      {"plain", "plain"},
      {"J\xc3\xbcrgen \xe5\xbc\xa0\xe4\xbc\x9f", "J\xc3\xbcrgen \xe5\xbc\xa0\xe4\xbc\x9f"},  // UTF-8 kept
      {"J\xfcrg", "J\xc3\xbcrg"},                                                          // Latin-1
      {"\xef\xbb\xbfName", "Name"},                                                        // BOM dropped
      {"\xc3", "\xc3\x83"},                 // cut short: Latin-1
      {"\xc0\xaf", "\xc3\x80\xc2\xaf"},     // overlong: Latin-1
      {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},  // surrogate: Latin-1
      {"\xff\xff", "\xc3\xbf\xc3\xbf"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeText(c.bytes), c.text) << c.bytes;
}

TEST(TextCode, OwnFormatIsLatin1WhenEveryCharacterFits) {
  EXPECT_EQ(EncodeOwnFormat("J\xc3\xbcrgen"), "J\xfcrgen");
  const std::string wide = "J\xc3\xbcrgen \xd0\xa1\xd0\xb5\xd1\x80\xd0\xb3\xd0\xb5\xd0\xb9";
  EXPECT_EQ(EncodeOwnFormat(wide), wide);  // Cyrillic: the whole text stays UTF-8
  EXPECT_EQ(DecodeText(EncodeOwnFormat(wide)), wide);
  EXPECT_EQ(DecodeText(EncodeOwnFormat("J\xc3\xbcrgen")), "J\xc3\xbcrgen");
  const std::string lookalike = "\xc3\x83\xc2\xa9";  // "Ã©": as Latin-1 its bytes read as UTF-8 "é"
  EXPECT_EQ(DecodeText(EncodeOwnFormat(lookalike)), lookalike);
  EXPECT_TRUE(FitsLatin1("a\xc3\xa9"));
  EXPECT_FALSE(FitsLatin1("\xe2\x82\xac"));
}

// Bytes another program wrote that are not UTF-8: Russian collections write
// Windows-1251, Western ones Windows-1252; the letters tell which.
TEST(TextCode, ForeignTextIsWindows1251WhenItsLettersFormWords) {
  struct Case {
    const char* bytes;
    const char* text;
  } cases[] = {
      {"[White \"\xD1\xE5\xF0\xE3\xE5\xE9 \xC8\xE2\xE0\xED\xEE\xE2\"]",  // Сергей Иванов
       "[White \"\xD0\xA1\xD0\xB5\xD1\x80\xD0\xB3\xD0\xB5\xD0\xB9 \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2\"]"},
      {"{\xF5\xEE\xE4 \xE2 \xF3\xE3\xEE\xEB}",  // ход в угол: a one-letter word among longer ones
       "{\xD1\x85\xD0\xBE\xD0\xB4 \xD0\xB2 \xD1\x83\xD0\xB3\xD0\xBE\xD0\xBB}"},
      {"\xA8\xEB\xEA\xE8\xED \xB9" "5 \x93\xE0\x94",  // Ёлкин №5 “а”
       "\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB8\xD0\xBD \xE2\x84\x96" "5 \xE2\x80\x9C\xD0\xB0\xE2\x80\x9D"},
      {"J\xFCrgen M\xFCller, H\xE9l\xE8ne No\xEBl", "J\xC3\xBCrgen M\xC3\xBCller, H\xC3\xA9l\xC3\xA8ne No\xC3\xABl"},
      {"Concei\xE7\xE3o Gon\xE7" "alves, S\xE3o Jo\xE3o, posi\xE7\xE3o",  // Portuguese: pairs, no words
       "Concei\xC3\xA7\xC3\xA3o Gon\xC3\xA7" "alves, S\xC3\xA3o Jo\xC3\xA3o, posi\xC3\xA7\xC3\xA3o"},
      {"{\x93" "Caf\xE9\x94 \x96 \x80" "5}", "{\xE2\x80\x9C" "Caf\xC3\xA9\xE2\x80\x9D \xE2\x80\x93 \xE2\x82\xAC" "5}"},
      {"\xEF\xBB\xBF\xD0\xA5\xD0\xBE\xD0\xB4", "\xD0\xA5\xD0\xBE\xD0\xB4"},  // UTF-8 with its mark
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeForeignText(c.bytes), c.text) << c.bytes;
  // The program's own files are never Windows-1251.
  EXPECT_EQ(DecodeText("\xD5\xEE\xE4"), "\xC3\x95\xC3\xAE\xC3\xA4");
}

TEST(TextCode, WindowsCodePageBytesGoBothWays) {
  for (int p = 0; p < static_cast<int>(CodePage::Count); ++p)
    for (int b = 0x80; b <= 0xFF; ++b) {
      const auto page = static_cast<CodePage>(p);
      const std::string byte(1, static_cast<char>(b));
      const std::string text = CodePageToUtf8(byte, page);
      EXPECT_TRUE(FitsCodePage(text, page)) << b;
      EXPECT_EQ(Utf8ToCodePage(text, page), byte) << CodePageName(page) << " " << b;
    }
  EXPECT_EQ(CodePageToUtf8("\x8A\x9C\xE9", CodePage::Windows1252), "\xC5\xA0\xC5\x93\xC3\xA9");  // Šœé
  EXPECT_EQ(CodePageToUtf8("\x88\xC0\xFF", CodePage::Windows1251), "\xE2\x82\xAC\xD0\x90\xD1\x8F");  // €Ая
  EXPECT_TRUE(FitsCodePage("\xE2\x82\xAC", CodePage::Windows1251));
  EXPECT_FALSE(FitsCodePage("J\xC3\xBCrgen", CodePage::Windows1251));  // ü is not in it
  EXPECT_EQ(Utf8ToCodePage("J\xC3\xBC\xD0\xAF", CodePage::Windows1251), "J?\xDF");
}

// Letters whose bytes differ between code pages of one script.
TEST(TextCode, LettersOfEachCodePageHaveTheirOwnBytes) {
  struct Case {
    CodePage page;
    const char* name;
    const char* text;
    const char* bytes;
  } cases[] = {
      {CodePage::Koi8R, "KOI8-R", "Кубок", "\xEB\xD5\xC2\xCF\xCB"},
      {CodePage::Iso8859_5, "ISO-8859-5", "Кубок", "\xBA\xE3\xD1\xDE\xDA"},
      {CodePage::Windows1250, "Windows-1250", "Łśź", "\xA3\x9C\x9F"},
      {CodePage::Iso8859_2, "ISO-8859-2", "Łśź", "\xA3\xB6\xBC"},
      {CodePage::Windows1253, "Windows-1253", "Άω", "\xA2\xF9"},
      {CodePage::Iso8859_7, "ISO-8859-7", "Άω", "\xB6\xF9"},
      {CodePage::Windows1254, "Windows-1254", "İşğ", "\xDD\xFE\xF0"},
      {CodePage::Windows1257, "Windows-1257", "Žėū", "\xDE\xEB\xFB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodePageName(c.page), c.name);
    EXPECT_EQ(Utf8ToCodePage(c.text, c.page), c.bytes) << c.name;
    EXPECT_EQ(CodePageToUtf8(c.bytes, c.page), c.text) << c.name;
  }
  EXPECT_FALSE(FitsCodePage("Ж", CodePage::Windows1257));
}

// Small PDN files of other programs in the code pages collections are found
// in, as measured: each reads in its own letters (the Hebrew one, whose few
// short words read as well in Greek, by the second detector). A reading the
// detectors disagree on, or the check of the words cannot tell for certain,
// is unsure, so that a game added later asks before the file is converted.
TEST(TextCode, SmallFilesInLegacyCodePagesReadInTheirOwnLetters) {
  struct Case {
    CodePage written;
    std::vector<std::string> names;  // the event, then the players of each game
    bool sure;
    bool reads = true;
  } cases[] = {
      {CodePage::Windows1251, {"Кубок", "Ли Ю.", "Ким В."}, true},
      {CodePage::Windows1251, {"Кубок города", "Иванов С.", "Петров А.", "Ли Ю.", "Ким В."}, true},
      {CodePage::Koi8R, {"Кубок", "Ли Ю.", "Ким В."}, false},  // uchardet reads ISO-8859-7
      {CodePage::Iso8859_5, {"Кубок города", "Иванов С.", "Петров А."}, true},
      {CodePage::Windows1253, {"Πρωτάθλημα Αθήνας", "Γιώργος Παπαδόπουλος", "Νίκος Ζ."}, true},
      {CodePage::Iso8859_7, {"Πρωτάθλημα Αθήνας", "Γιώργος Παπαδόπουλος", "Νίκος Ζ."}, true},
      {CodePage::Windows1250, {"Puchar Śląska", "Łukasz Żółć", "Brzęczyszczykiewicz"}, true},
      {CodePage::Iso8859_2, {"Puchar", "Łukasz Żółć", "Brzęczyszczykiewicz"}, true},
      {CodePage::Windows1250, {"Přebor", "Jiří Kříž", "Petr Novák"}, true},
      {CodePage::Windows1254, {"İstanbul Kupası", "Şükrü Öztürk", "Çağrı Yılmaz"}, true},
      {CodePage::Windows1257, {"Vilniaus čempionatas", "Jonas Žemaitis", "Kęstutis Šimkūnas"}, true},
      {CodePage::Windows1257, {"Rīgas kauss", "Jānis Bērziņš", "Pēteris Ozoliņš"}, true},
      {CodePage::Windows1252, {"Open", "Ævarr Þórðarson", "Jürgen Müller"}, false},  // uchardet: Windows-1257
      {CodePage::Windows1252, {"Taça de Portugal", "João Gonçalves", "Conceição Simões"}, true},
      {CodePage::Windows1252, {"Turnier", "Jürgen Müller", "Hélène Noël", "François Dupré", "Søren Åberg"}, true},
      {CodePage::Windows1255, {"אליפות", "דוד כהן", "משה לוי"}, false},
      {CodePage::Windows1256, {"بطولة", "محمد علي", "أحمد حسن"}, true},
      // Russian and Western games in one Windows-1251 file.
      {CodePage::Windows1251, {"Кубок “Невы”", "Иванов С.", "Ton Sijbrands", "Ли Ю.", "Jan de Vries"}, true},
  };
  for (const auto& c : cases) {
    std::string text = "[Event \"" + c.names[0] + "\"]\r\n";
    for (size_t i = 1; i + 1 < c.names.size(); i += 2)
      text += "[White \"" + c.names[i] + "\"]\r\n[Black \"" + c.names[i + 1] + "\"]\r\n\r\n1. 11-15 23-19 2. 8-11 *\r\n\r\n";
    SCOPED_TRACE(std::string(CodePageName(c.written)) + " " + c.names[1]);
    ASSERT_TRUE(FitsCodePage(text, c.written));
    const std::string bytes = Utf8ToCodePage(text, c.written);
    ASSERT_FALSE(IsValidUtf8(bytes));
    EXPECT_EQ(DecodeForeignText(bytes) == text, c.reads) << DecodeForeignText(bytes);
    EXPECT_EQ(DetectCodePage(bytes).sure, c.sure) << CodePageName(DetectCodePage(bytes).page);
  }
}

// A PDN text: the event, then white and black of each game.
std::string PdnOf(const std::vector<std::string>& names) {
  std::string text = "[Event \"" + names[0] + "\"]\r\n";
  for (size_t i = 1; i + 1 < names.size(); i += 2)
    text += "[White \"" + names[i] + "\"]\r\n[Black \"" + names[i + 1] + "\"]\r\n\r\n1. 11-15 23-19 2. 8-11 *\r\n\r\n";
  return text;
}

// Short files of one or two accented names in the Baltic, Hungarian,
// Croatian, Albanian and Romanian code pages (ISO-8859-16 is left out: ICU
// has no converter for it), and a long file of each. Where ICU alone named a
// Western or Turkish code page ("Szõke", "Bãlan", "Lěga Zariòa") or Greek
// ("ίν Α." for "Ян Б."), and where uchardet names a Nordic one ("Štefan
// Murešan"), these show the names written. Some files are
// beyond telling (one "ī" reads as "î" in a French name just as well): of
// every file, a reading that shows other letters than the ones written is
// never taken as sure.
TEST(TextCode, ShortFilesOfCentralAndBalticCodePagesShowTheirNames) {
  struct Row {
    const char* page;  // ICU's name
    std::vector<std::string> names;
  } rows[] = {
      {"windows-1257", {"Open", "Līga Zariņa", "Smith"}},
      {"ISO-8859-13", {"Open", "Līga Zariņa", "Smith"}},
      {"windows-1257", {"Open", "Rūta Mažeikienė", "Smith"}},
      {"ISO-8859-2", {"Open", "Szőke Z.", "Smith"}},
      {"windows-1250", {"Open", "Szőke Z.", "Smith"}},
      {"ISO-8859-2", {"Open", "Erdős Pál", "Smith"}},
      {"windows-1250", {"Open", "Szőke Z.", "Kovács Péter"}},
      {"ISO-8859-2", {"Open", "Marija Kovačić", "Smith"}},
      {"windows-1250", {"Open", "Đurđević M.", "Ivan Šimić"}},
      {"windows-1250", {"Open", "Ermal Çela", "Smith"}},
      {"ISO-8859-2", {"Open", "Tiranë", "Ermal Çela"}},
      {"ISO-8859-2", {"Open", "Bălan I.", "Smith"}},
      {"windows-1250", {"Open", "Ţepeş A.", "Smith"}},
      {"windows-1250", {"Open", "Ştefan Mureşan", "Braşov"}},
      {"ISO-8859-2", {"Open", "Iaşi", "Smith"}},
      {"windows-1251", {"Open", "Ян Б.", "Smith", "Jones", "Brown", "Taylor", "White", "Green"}},
      {"windows-1257", {"Rīgas kauss", "Jānis Bērziņš", "Pēteris Ozoliņš", "Līga Zariņa", "Ģirts Ķēniņš"}},
      {"ISO-8859-13", {"Vilniaus čempionatas", "Jonas Žemaitis", "Kęstutis Šimkūnas", "Rūta Mažeikienė", "Smith"}},
      {"ISO-8859-2", {"Magyar bajnokság", "Szőke Zoltán", "Kovács Péter", "Tóth Árpád", "Erdős Pál"}},
      {"windows-1250", {"Prvenstvo Hrvatske", "Marija Kovačić", "Đuro Đaković", "Ivan Šimić", "Željko Čačić"}},
      {"windows-1250", {"Kampionati i Shqipërisë", "Ermal Çela", "Arbër Dervishi", "Blerinë Kërçova", "Smith"}},
      {"ISO-8859-2", {"Campionatul României", "Ştefan Mureşan", "Ion Ţăranu", "Mircea Bălănescu", "Smith"}},
  };
  for (const Row& row : rows) {
    const std::string text = PdnOf(row.names);
    SCOPED_TRACE(std::string(row.page) + " " + row.names[1]);
    const std::string bytes = IcuBytes(text, row.page);
    ASSERT_FALSE(IsValidUtf8(bytes));
    EXPECT_EQ(DecodeForeignText(bytes), text);
  }

  struct Language {
    std::vector<const char*> pages;
    std::vector<std::string> names;
  } languages[] = {
      {{"windows-1257", "ISO-8859-13"}, {"Rīga", "Jānis Bērziņš", "Līga Zariņa", "Ģirts Ķēniņš", "Māris"}},
      {{"windows-1257", "ISO-8859-13"}, {"Šiauliai", "Kęstutis Žukauskas", "Rūta Mažeikienė", "Klaipėda"}},
      {{"ISO-8859-2", "windows-1250"}, {"Szőke Z.", "Kovács Péter", "Győr", "Tóth Árpád", "Erdős Pál"}},
      {{"ISO-8859-2", "windows-1250"}, {"Marija Kovačić", "Đurđević M.", "Ivan Šimić", "Željko B."}},
      {{"ISO-8859-2", "windows-1250"}, {"Tiranë", "Ermal Çela", "Arbër D.", "Shkodër"}},
      {{"ISO-8859-2", "windows-1250"}, {"Ştefan Mureşan", "Braşov", "Ţepeş A.", "Bălan I.", "Iaşi"}},
  };
  for (const Language& language : languages)
    for (const char* page : language.pages) {
      std::vector<std::vector<std::string>> files;
      for (size_t i = 0; i < language.names.size(); ++i) {
        files.push_back({"Open", language.names[i], "Smith"});
        if (i + 1 < language.names.size()) files.push_back({"Open", language.names[i], language.names[i + 1]});
      }
      for (const auto& names : files) {
        const std::string text = PdnOf(names);
        const std::string bytes = IcuBytes(text, page);
        const CodePageGuess guess = DetectCodePage(bytes);
        if (DecodeForeignText(bytes) != text) {
          EXPECT_FALSE(guess.sure) << page << " " << names[1] << " read as " << CodePageName(guess.page) << ": "
                                   << DecodeForeignText(bytes);
        }
      }
    }
}


// A small Western file whose only bytes beyond ASCII are one accented name
// and one sign, in a result, a tag or a comment: the Central European code
// pages hold the same accented letters at the same bytes, but put spacing
// accents ("˝", "˘", "˛") or other letters where Western has its signs. The
// file reads with its sign, and a name that Western cannot write is never
// added to it without a question.
TEST(TextCode, WesternFilesWithASignKeepTheirSign) {
  struct Row {
    std::string event, white, moves;
  } rows[] = {
      {"Club", "René Dubois", "1. 11-15 23-19 ½-½"},
      {"Club", "José Pérez", "1. 11-15 23-19 ½-½"},
      {"Club", "Luis Gómez", "1. 11-15 {½ point} 23-19 *"},
      {"Club", "François", "1. 11-15 {50¢} 23-19 *"},
      {"Club", "Zoë Brown", "1. 11-15 {£5 prize} 23-19 *"},
      {"Club", "Ángel Ruiz", "1. 11-15 {10 m² of board} 23-19 *"},
      {"Club", "Ana Núñez", "1. 11-15 {x³} 23-19 *"},
      {"Coupe ¼ de finale", "Hélène", "1. 11-15 23-19 *"},
      {"¾ Open", "Grégoire", "1. 11-15 23-19 *"},
      {"Open", "Søren Åberg", "1. 11-15 {§ 12} 23-19 *"},
      {"Open -3°", "Ingrid Öberg", "1. 11-15 23-19 *"},
      {"Trofeo Niccolò", "Ángel Ruiz", "1. 11-15 {£5} 23-19 *"},
  };
  for (const char* page : {"windows-1252", "ISO-8859-1"})
    for (const Row& row : rows) {
      const std::string text = "[Event \"" + row.event + "\"]\r\n[White \"" + row.white +
                               "\"]\r\n[Black \"Smith\"]\r\n\r\n" + row.moves + "\r\n";
      SCOPED_TRACE(std::string(page) + " " + row.white);
      const std::string bytes = IcuBytes(text, page);
      ASSERT_FALSE(IsValidUtf8(bytes));
      EXPECT_EQ(DecodeForeignText(bytes), text);
      const CodePageGuess guess = DetectCodePage(bytes);
      EXPECT_FALSE(JoinsCodePage("Łukasz Żółć", guess)) << CodePageName(guess.page);
      EXPECT_TRUE(JoinsCodePage("Smith", guess));
    }
}

// Short files, a few words each, in the code pages of many languages: the
// reading offered shows the letters written, where the detectors disagree
// as well (uchardet reads two Cyrillic letters as Arabic, ICU a Turkish
// "İ" as Western "Ý").
TEST(TextCode, ShortFilesOfferTheirOwnLetters) {
  struct Row {
    const char* page;  // ICU's name
    std::vector<std::string> names;
  } rows[] = {
      {"windows-1251", {"Open", "Ли", "Smith"}},
      {"windows-1251", {"Open", "Ян", "Smith"}},
      {"ISO-8859-5", {"Open", "Ян", "Smith"}},
      {"ISO-8859-5", {"Кубок", "Smith", "Jones"}},
      {"IBM866", {"Open", "Ли", "Smith"}},
      {"windows-1254", {"Open", "İ. Şen", "Smith"}},
      {"windows-1254", {"İzmir", "Smith", "Jones"}},
      {"ISO-8859-9", {"İzmir", "Smith", "Jones"}},
      {"ISO-8859-9", {"Open", "İ. Şen", "Smith"}},
      {"windows-1252", {"Open", "Þór", "Smith"}},
      {"windows-1252", {"Open", "Þór", "Jón"}},
      {"ISO-8859-2", {"Łódź", "Smith", "Jones"}},
      {"ISO-8859-2", {"Open", "Łódź", "Smith"}},
      {"ISO-8859-4", {"Open", "Jānis Bērziņš", "Smith"}},
      {"ISO-8859-4", {"Open", "Līga Zariņa", "Smith"}},
      {"ISO-8859-4", {"Vilnius", "Rūta Mažeikienė", "Smith"}},
      {"macintosh", {"Open", "René Dubois", "Jürgen Müller"}},
      {"macintosh", {"Open", "François", "Smith"}},
      {"macintosh", {"Taça", "João Gonçalves", "Smith"}},
      // Players of neighbouring countries in one file: its code page is the
      // common one of their letters, though a seldom used one would write
      // them in fewer languages ("Gyõr Žilina" in ISO-8859-4, "Krakķw Iaēi"
      // in Latvian, "NoÎl ForlÏ" in Mac Roman).
      {"ISO-8859-2", {"Open", "Győr", "Žilina"}},
      {"ISO-8859-2", {"Open", "Kraków", "Iaşi"}},
      {"windows-1250", {"Open", "Paweł", "Plzeň"}},
      {"windows-1252", {"Logroño", "Tõnu", "Smith"}},
      {"windows-1252", {"Open", "Noël", "Forlì"}},
      {"windows-1252", {"Open", "Ermal Çela", "Željko"}},
      {"ISO-8859-15", {"Open", "Žilina", "Forlì"}},
      {"ISO-8859-15", {"Open", "Tõnu", "Tomáš"}},
  };
  for (const Row& row : rows) {
    const std::string text = PdnOf(row.names);
    SCOPED_TRACE(std::string(row.page) + " " + row.names[0] + " " + row.names[1]);
    const std::string bytes = IcuBytes(text, row.page);
    ASSERT_FALSE(IsValidUtf8(bytes));
    EXPECT_EQ(DecodeForeignText(bytes), text) << CodePageName(DetectCodePage(bytes).page);
  }
}

// Of small files of names and signs in many code pages, a file the program
// reads with other letters or signs than were written is never taken as
// sure, so that a game added to it asks first.
TEST(TextCode, NoSmallFileIsSureOfAWrongReading) {
  struct Language {
    std::vector<const char*> pages;
    std::vector<std::string> names;
    std::vector<std::string> comments;
  } languages[] = {
      {{"windows-1252", "ISO-8859-1", "ISO-8859-15", "macintosh"},
       {"René Dubois", "Luis Gómez", "Jürgen Müller", "Søren Åberg", "Þór", "João Gonçalves"},
       {"", "{½ point} ", "{50¢} ", "{£5} ", "{§ 5} ", "{3°} "}},
      {{"windows-1250", "ISO-8859-2"}, {"Łukasz Żółć", "Łódź", "Jiří Kříž", "Szőke Z.", "Đurđević", "Bălan"}, {""}},
      {{"windows-1251", "ISO-8859-5", "KOI8-R", "IBM866"}, {"Ли", "Ян", "Кубок", "Ёлкин", "Щукин", "Фёдоров"}, {""}},
      {{"windows-1253", "ISO-8859-7"}, {"Άρης", "Γιώργος", "Νίκος Ζ."}, {""}},
      {{"windows-1254", "ISO-8859-9"}, {"İ. Şen", "İzmir", "Ayşe Gül", "Işık", "Muğla", "Uğur"}, {""}},
      {{"windows-1257", "ISO-8859-13", "ISO-8859-4"}, {"Jānis Bērziņš", "Rīga", "Rūta Mažeikienė", "Šiauliai"}, {""}},
      // Players of neighbouring countries.
      {{"windows-1250", "ISO-8859-2"}, {"Paweł", "Plzeň", "Noël", "Győr", "Žilina", "Kraków", "Iaşi"}, {"", "{3°} "}},
  };
  for (const Language& language : languages)
    for (const char* page : language.pages)
      for (size_t i = 0; i < language.names.size(); ++i)
        for (const std::string& comment : language.comments) {
          const std::string& name = language.names[i];
          const std::string& next = language.names[(i + 1) % language.names.size()];
          for (const std::vector<std::string>& names :
               std::vector<std::vector<std::string>>{{"Open", name, "Smith"}, {name, "Smith", "Jones"}, {"Open", name, next}}) {
            std::string text = PdnOf(names);
            text.insert(text.find("1. 11-15 ") + 9, comment);
            const std::string bytes = IcuBytes(text, page);
            if (IcuText(bytes, page) != text || IsValidUtf8(bytes)) continue;  // a letter the page lacks
            const CodePageGuess guess = DetectCodePage(bytes);
            if (DecodeForeignText(bytes) != text) {
              EXPECT_FALSE(guess.sure) << page << " " << names[0] << " " << names[1] << " " << names[2] << " "
                                       << comment << " read as " << CodePageName(guess.page);
            }
          }
        }
}

}  // namespace
}  // namespace m8
