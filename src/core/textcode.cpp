#include "core/textcode.h"

#include "core/textwords.h"

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/uchar.h>
#include <uchardet/uchardet.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace m8 {

namespace {

// Length of the well-formed UTF-8 sequence starting at i, or 0.
size_t Utf8SequenceLength(std::string_view s, size_t i, uint32_t* codeOut = nullptr) {
  auto c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) {
    if (codeOut) *codeOut = c;
    return 1;
  }
  size_t extra;
  uint32_t code;
  if (c >= 0xC2 && c <= 0xDF) {
    extra = 1;
    code = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2;
    code = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3;
    code = c & 0x07;
  } else {
    return 0;
  }
  if (i + extra >= s.size()) return 0;
  for (size_t k = 1; k <= extra; ++k) {
    auto d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    code = (code << 6) | (d & 0x3F);
  }
  if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) || code > 0x10FFFF ||
      (code >= 0xD800 && code <= 0xDFFF))
    return 0;
  if (codeOut) *codeOut = code;
  return extra + 1;
}

// A character below U+10000 (all a code page holds) added as UTF-8.
void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}


struct PageInfo {
  CodePage page;
  const char* icuName;  // ICU's converter name (also what its detector reports)
  const char* shownName;
};

constexpr PageInfo kPages[] = {
    {CodePage::Latin1, "ISO-8859-1", "ISO-8859-1"},
    {CodePage::Windows1250, "windows-1250", "Windows-1250"},
    {CodePage::Windows1251, "windows-1251", "Windows-1251"},
    {CodePage::Windows1252, "windows-1252", "Windows-1252"},
    {CodePage::Windows1253, "windows-1253", "Windows-1253"},
    {CodePage::Windows1254, "windows-1254", "Windows-1254"},
    {CodePage::Windows1255, "windows-1255", "Windows-1255"},
    {CodePage::Windows1256, "windows-1256", "Windows-1256"},
    {CodePage::Windows1257, "windows-1257", "Windows-1257"},
    {CodePage::Windows1258, "windows-1258", "Windows-1258"},
    {CodePage::Iso8859_2, "ISO-8859-2", "ISO-8859-2"},
    {CodePage::Iso8859_3, "ISO-8859-3", "ISO-8859-3"},
    {CodePage::Iso8859_4, "ISO-8859-4", "ISO-8859-4"},
    {CodePage::Iso8859_5, "ISO-8859-5", "ISO-8859-5"},
    {CodePage::Iso8859_6, "ISO-8859-6", "ISO-8859-6"},
    {CodePage::Iso8859_7, "ISO-8859-7", "ISO-8859-7"},
    {CodePage::Iso8859_8, "ISO-8859-8", "ISO-8859-8"},
    {CodePage::Iso8859_9, "ISO-8859-9", "ISO-8859-9"},
    {CodePage::Iso8859_10, "ISO-8859-10", "ISO-8859-10"},
    {CodePage::Iso8859_13, "ISO-8859-13", "ISO-8859-13"},
    {CodePage::Iso8859_15, "ISO-8859-15", "ISO-8859-15"},
    {CodePage::Koi8R, "KOI8-R", "KOI8-R"},
    {CodePage::Koi8U, "KOI8-U", "KOI8-U"},
    {CodePage::Cp866, "IBM866", "CP866"},
    {CodePage::MacRoman, "macintosh", "Mac Roman"},
};
static_assert(std::size(kPages) == static_cast<size_t>(CodePage::Count));

const PageInfo& InfoOf(CodePage page) { return kPages[static_cast<size_t>(page)]; }

// The characters of the bytes 0x80..0xFF of every code page, read once from
// ICU's converters. A byte the code page leaves unassigned (or a converter
// ICU lacks) stands for the character of the same number, or, when another
// byte stands for that one, for a private-use character, so that every byte
// is written back as it was read.
using HighTable = std::array<uint32_t, 128>;

constexpr uint32_t kUnassignedBase = 0xF700;

HighTable BuildTable(const PageInfo& info) {
  HighTable t{};
  std::array<bool, 128> assigned{};
  UErrorCode err = U_ZERO_ERROR;
  UConverter* cnv = info.page == CodePage::Latin1 ? nullptr : ucnv_open(info.icuName, &err);
  if (cnv) ucnv_setToUCallBack(cnv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
  for (int b = 0; b < 128; ++b) {
    t[b] = 0x80 + b;
    if (!cnv || U_FAILURE(err)) continue;
    const char byte = static_cast<char>(0x80 + b);
    UChar out[4];
    UErrorCode e = U_ZERO_ERROR;
    ucnv_resetToUnicode(cnv);
    const int32_t n = ucnv_toUChars(cnv, out, 4, &byte, 1, &e);
    if (U_SUCCESS(e) && n == 1 && !U16_IS_SURROGATE(out[0]) && out[0] != 0xFFFD && out[0] != 0x1A) {
      t[b] = out[0];
      assigned[b] = true;
    }
  }
  if (cnv) ucnv_close(cnv);
  for (int b = 0; b < 128; ++b)
    for (int other = 0; other < 128 && !assigned[b]; ++other)
      if (assigned[other] && t[other] == t[b]) t[b] = kUnassignedBase + 0x80 + b;
  return t;
}

std::array<HighTable, static_cast<size_t>(CodePage::Count)> BuildTables() {
  std::array<HighTable, static_cast<size_t>(CodePage::Count)> tables{};
  for (const PageInfo& info : kPages) tables[static_cast<size_t>(info.page)] = BuildTable(info);
  return tables;
}

const HighTable& TableOf(CodePage page) {
  static const auto tables = BuildTables();
  return tables[static_cast<size_t>(page)];
}

// The character a byte stands for in the code page.
uint32_t CodeOf(unsigned char c, const HighTable& t) { return c < 0x80 ? c : t[c - 0x80]; }

// The byte of a character in the code page, or -1 when it has none.
int ByteOf(uint32_t code, const HighTable& t) {
  if (code < 0x80) return static_cast<int>(code);
  for (int i = 0; i < 128; ++i)
    if (t[i] == code) return 0x80 + i;
  return -1;
}

// ---- detection ----------------------------------------------------------------

// The detector and the check read at most this much of a file: the words of
// a large collection that hold letters above ASCII repeat the same names.
constexpr size_t kMaxSampleBytes = 64u << 10;

// A detector's confidence (0..100) below which its choice is not taken as sure.
constexpr int32_t kSureConfidence = 20;

// The words (runs of bytes between ASCII signs, digits and blanks) that hold a
// byte above ASCII, one blank after each. Tags, move numbers and squares, all
// ASCII, would drown the few letters that tell a code page.
std::string HighWords(std::string_view bytes) {
  std::string out;
  size_t i = 0;
  while (i < bytes.size() && out.size() < kMaxSampleBytes) {
    auto isWordByte = [](unsigned char c) { return c >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (!isWordByte(static_cast<unsigned char>(bytes[i]))) {
      ++i;
      continue;
    }
    size_t j = i;
    bool high = false;
    while (j < bytes.size() && isWordByte(static_cast<unsigned char>(bytes[j]))) {
      high = high || static_cast<unsigned char>(bytes[j]) >= 0x80;
      ++j;
    }
    if (high) {
      out.append(bytes.substr(i, std::min(j - i, kMaxSampleBytes - out.size())));
      out += ' ';
    }
    i = j;
  }
  return out;
}

// How many words of the sample would read implausibly in the code page.
int ImplausibleWords(std::string_view sample, CodePage page) { return CountWords(CodePageToUtf8(sample, page)).bad; }

// The code page of a name the detector reports, or Count for one the
// program does not read (several bytes a character, EBCDIC). Latin-1 and
// Latin-5 read as the Windows code pages that add quotes, dashes and the euro
// where they have control characters.
CodePage PageOfDetectorName(std::string_view name) {
  auto same = [name](std::string_view other) {
    return std::equal(name.begin(), name.end(), other.begin(), other.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                  std::tolower(static_cast<unsigned char>(b)); });
  };
  if (same("ISO-8859-1")) return CodePage::Windows1252;
  if (same("ISO-8859-9")) return CodePage::Windows1254;
  if (same("ISO-8859-8-I")) return CodePage::Iso8859_8;
  for (const PageInfo& info : kPages)
    if (info.page != CodePage::Latin1 && same(info.icuName)) return info.page;
  return CodePage::Count;
}

// Of two readings alike in every other way, the one collections are more
// often written in: Western Windows first, then the Windows code pages in
// their order with the other Cyrillic ones beside Windows-1251 (Russian
// collections are many), then the others.
int Preference(CodePage page) {
  if (page == CodePage::Windows1252) return -1;
  constexpr CodePage kCyrillic[] = {CodePage::Koi8R, CodePage::Cp866, CodePage::Iso8859_5, CodePage::Koi8U};
  const auto cyrillic = std::find(std::begin(kCyrillic), std::end(kCyrillic), page);
  if (cyrillic == std::end(kCyrillic)) return static_cast<int>(page) * 8;
  return static_cast<int>(CodePage::Windows1251) * 8 + 1 + static_cast<int>(cyrillic - std::begin(kCyrillic));
}

struct Candidate {
  CodePage page;
  int32_t confidence;
  int bad = 0;
  int alphabets = 0;
  bool fromIcu = false;  // ICU's detector named it
  int unlikely = 0;
  int names = 0;
  std::string shown = {};  // the sample as this code page shows it
};

// The detector's one-byte candidates, best first.
std::vector<Candidate> DetectorCandidates(std::string_view sample) {
  std::vector<Candidate> out;
  UErrorCode err = U_ZERO_ERROR;
  UCharsetDetector* det = ucsdet_open(&err);
  if (U_FAILURE(err)) return out;
  ucsdet_setText(det, sample.data(), static_cast<int32_t>(sample.size()), &err);
  int32_t count = 0;
  const UCharsetMatch** matches = ucsdet_detectAll(det, &count, &err);
  for (int32_t i = 0; U_SUCCESS(err) && i < count; ++i) {
    UErrorCode e = U_ZERO_ERROR;
    const char* name = ucsdet_getName(matches[i], &e);
    const int32_t confidence = ucsdet_getConfidence(matches[i], &e);
    if (U_FAILURE(e) || !name) continue;
    const CodePage page = PageOfDetectorName(name);
    if (page == CodePage::Count) continue;
    if (std::none_of(out.begin(), out.end(), [page](const Candidate& c) { return c.page == page; }))
      out.push_back({page, confidence, 0, 0, true});
  }
  ucsdet_close(det);
  return out;
}

// The code page uchardet names for the sample, or Count for none the
// program reads.
CodePage SecondOpinion(std::string_view sample) {
  uchardet_t detector = uchardet_new();
  if (!detector) return CodePage::Count;
  CodePage page = CodePage::Count;
  if (uchardet_handle_data(detector, sample.data(), sample.size()) == 0) {
    uchardet_data_end(detector);
    const char* name = uchardet_get_charset(detector);
    page = PageOfDetectorName(name ? name : "");
  }
  uchardet_delete(detector);
  return page;
}

}  // namespace

std::string_view CodePageName(CodePage page) {
  return page < CodePage::Count ? InfoOf(page).shownName : "UTF-8";
}

CodePageGuess DetectCodePage(std::string_view bytes) {
  const std::string sample = HighWords(bytes);
  std::vector<Candidate> candidates = DetectorCandidates(sample);
  // Readings the detector does not weigh (it knows no Baltic or DOS code
  // page) or may rank low on a few names: checked by their words. One that
  // differs from a reading the detector weighs in a few letters only takes
  // a point less than that one.
  struct Extra {
    CodePage page, sibling;
  };
  constexpr Extra kExtras[] = {
      {CodePage::Windows1252, CodePage::Count},      {CodePage::Windows1250, CodePage::Count},
      {CodePage::Windows1254, CodePage::Count},      {CodePage::Windows1257, CodePage::Count},
      {CodePage::Windows1251, CodePage::Count},      {CodePage::Cp866, CodePage::Count},
      {CodePage::Windows1253, CodePage::Iso8859_7},  {CodePage::Iso8859_15, CodePage::Windows1252},
      {CodePage::Koi8U, CodePage::Koi8R},           {CodePage::Iso8859_2, CodePage::Windows1250},
      {CodePage::Iso8859_5, CodePage::Count},       {CodePage::Iso8859_13, CodePage::Windows1257},
      {CodePage::Iso8859_4, CodePage::Count},       {CodePage::MacRoman, CodePage::Count},
  };
  auto find = [&candidates](CodePage page) {
    return std::find_if(candidates.begin(), candidates.end(), [page](const Candidate& c) { return c.page == page; });
  };
  for (const Extra& extra : kExtras) {
    if (find(extra.page) != candidates.end()) continue;
    const auto sibling = find(extra.sibling);
    candidates.push_back({extra.page, sibling == candidates.end() ? 0 : std::max(0, sibling->confidence - 1)});
  }
  // The second detector, uchardet, weighs the letters of more languages
  // (Baltic, Hungarian, Romanian, Hebrew) and reads short samples better;
  // its reading joins the candidates.
  CodePage second = SecondOpinion(sample);
  // A code page seldom used for a collection (Nordic, Esperanto, Vietnamese)
  // that uchardet names on a few letters of Romanian or Albanian names stands
  // for its letters only when a common code page shows them alike (ISO-8859-4
  // showing the "ņ" of ISO-8859-10 is no such one: "Logroņo" is Spanish).
  auto seldom = [](CodePage page) {
    return page == CodePage::Iso8859_3 || page == CodePage::Iso8859_4 || page == CodePage::Iso8859_10 ||
           page == CodePage::Windows1258;
  };
  if (seldom(second)) {
    const std::string rare = CodePageToUtf8(sample, second);
    const auto alike = std::find_if(candidates.begin(), candidates.end(), [&](const Candidate& c) {
      return !seldom(c.page) && CodePageToUtf8(sample, c.page) == rare;
    });
    second = alike == candidates.end() ? CodePage::Count : alike->page;
  }
  if (second != CodePage::Count && find(second) == candidates.end()) candidates.push_back({second, 0});
  for (Candidate& c : candidates) {
    c.shown = CodePageToUtf8(sample, c.page);
    const WordCounts words = CountWords(c.shown);
    c.bad = words.bad;
    c.unlikely = words.unlikely;
    c.names = words.names;
    c.alphabets = AlphabetsNeeded(c.shown);
  }
  // ISO-8859-4 shows the letters of most bytes as Baltic ones: it stands only
  // for a file whose every word it reads plausibly.
  std::erase_if(candidates, [](const Candidate& c) { return c.page == CodePage::Iso8859_4 && c.bad > 0; });
  // Fewest implausible words, then fewest unlikely words, then most words
  // written as names are, then fewest alphabets, then ICU's confidence. A
  // word that begins or is written as no name is ("NiccolÚ" for the Italian
  // "Niccolò" in Mac Roman, "“ilina" for the Slovak "Žilina" in
  // ISO-8859-13) tells more than a second language among the names: files
  // mix players of neighbouring countries.
  auto plausibler = [](const Candidate& a, const Candidate& b) {
    if (a.bad != b.bad) return a.bad < b.bad;
    if (a.unlikely != b.unlikely) return a.unlikely < b.unlikely;
    return a.names != b.names ? a.names > b.names : a.alphabets < b.alphabets;
  };
  // Mac Roman, whose bytes are letters and signs nearly all, stands only for
  // a file it shows accented letters of and reads more plausibly than every
  // other code page; where it reads as plausibly as the reading chosen, that
  // one is not sure.
  std::optional<Candidate> macAlike;
  const auto mac = find(CodePage::MacRoman);
  if (mac != candidates.end() &&
      (mac->alphabets == 0 || !std::all_of(candidates.begin(), candidates.end(), [&](const Candidate& c) {
        return c.page == CodePage::MacRoman || plausibler(*mac, c);
      }))) {
    if (mac->alphabets > 0) macAlike = *mac;
    candidates.erase(mac);
  }
  auto likelier = [&](const Candidate& a, const Candidate& b) {
    if (plausibler(a, b) || plausibler(b, a)) return plausibler(a, b);
    if (a.confidence != b.confidence) return a.confidence > b.confidence;
    if (a.names != b.names) return a.names > b.names;
    return Preference(a.page) < Preference(b.page);
  };
  auto best = std::min_element(candidates.begin(), candidates.end(), likelier);
  // ISO-8859-4, seldom used, does not win on fewer alphabets alone over the
  // likeliest other reading where uchardet, which weighs it, names another
  // one ("Iaēi Žilina" and "Krakķw" for the Romanian, Slovak and Polish
  // "Iaşi Žilina" and "Kraków" of a Central European file), or where it
  // shows no letter of its own, none that the Central European and Western
  // code pages lack: "Gyõr Žilina" is the Hungarian and Slovak "Győr
  // Žilina" of a Central European file, its letters theirs.
  auto showsOwnLetter = [](const Candidate& c) {
    const HighTable& central = TableOf(CodePage::Iso8859_2);
    const HighTable& western = TableOf(CodePage::Windows1252);
    const std::vector<uint32_t> codes = CodesOf(c.shown);
    return std::any_of(codes.begin(), codes.end(), [&](uint32_t c) {
      return c >= 0x80 && IsLetter(c) && ByteOf(c, central) < 0 && ByteOf(c, western) < 0;
    });
  };
  if (best->page == CodePage::Iso8859_4 && (second != CodePage::Count || !showsOwnLetter(*best))) {
    auto rival = candidates.end();
    for (auto c = candidates.begin(); c != candidates.end(); ++c)
      if (c->page != CodePage::Iso8859_4 && (rival == candidates.end() || likelier(*c, *rival))) rival = c;
    if (rival != candidates.end() && rival->bad == best->bad && rival->unlikely == best->unlikely &&
        rival->names == best->names)
      best = rival;
  }
  std::string shown = best->shown;
  // Where the detectors disagree, uchardet's reading is taken when its words
  // are as plausible: on short samples ICU leans on Western letters
  // ("Szõke" for "Szőke") and knows no Baltic code page. But names are
  // written with a capital and small letters: uchardet's Arabic for two
  // Cyrillic letters ("ثو" for "Ли") does not win over a reading whose
  // words are written so.
  const auto other = find(second);
  const bool agree = other != candidates.end() && other->shown == shown;
  if (!agree && other != candidates.end() && !plausibler(*best, *other) && other->names >= best->names) {
    best = other;
    shown = best->shown;
  }
  // Sure only when both detectors agree on the reading chosen (uchardet
  // names it, and ICU's first choice shows the same letters, or reads the
  // words less plausibly, or there is none), its words all read plausibly,
  // and either ICU is fairly confident of it or no other reading shows
  // plausible words; and no other reading nearly as likely shows other
  // letters.
  const auto icuFirst = std::find_if(candidates.begin(), candidates.end(), [](const Candidate& c) { return c.fromIcu; });
  const bool icuAgrees = icuFirst == candidates.end() || plausibler(*best, *icuFirst) ||
                         icuFirst->shown == shown;
  const bool secondAgrees = other != candidates.end() && other->shown == shown;
  bool sure = secondAgrees && icuAgrees && best->bad == 0;
  bool alone = true;  // no other reading shows plausible words
  for (const Candidate& c : candidates) {
    if (c.page == best->page || c.shown == shown) continue;
    if (c.bad == 0) alone = false;
    if (c.bad <= best->bad && c.confidence * 2 >= best->confidence) sure = false;
    // Nor is it sure where another reading in accented Latin letters is as
    // plausible, however little the detectors weigh it: "Plzeò Noël" reads
    // as well as "Plzeň Noël".
    if (best->alphabets > 0 && c.alphabets > 0 && !plausibler(*best, c)) sure = false;
  }
  if (best->confidence < kSureConfidence && !alone) sure = false;
  if (macAlike && !plausibler(*best, *macAlike) && macAlike->shown != shown) sure = false;
  // The rivals: the readings that show the same letters as the one chosen,
  // which no byte tells apart, and, when unsure, every other reading as
  // plausible.
  CodePageGuess guess{best->page, sure, {}};
  for (const Candidate& c : candidates)
    if (c.page != best->page && c.bad <= best->bad && (!sure || c.shown == shown))
      guess.rivals.push_back(c.page);
  return guess;
}

bool JoinsCodePage(std::string_view text, const CodePageGuess& guess) {
  const bool plain = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!FitsCodePage(text, guess.page) || (!guess.sure && !plain)) return false;
  const std::string bytes = Utf8ToCodePage(text, guess.page);
  return std::all_of(guess.rivals.begin(), guess.rivals.end(),
                     [&](CodePage rival) { return CodePageToUtf8(bytes, rival) == text; });
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    size_t n = Utf8SequenceLength(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

namespace {

void AppendCodePage(std::string& out, std::string_view bytes, CodePage page) {
  const HighTable& t = TableOf(page);
  for (char ch : bytes) AppendUtf8(out, CodeOf(static_cast<unsigned char>(ch), t));
}

}  // namespace

std::string CodePageToUtf8(std::string_view bytes, CodePage page) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  AppendCodePage(out, bytes, page);
  return out;
}

std::string Utf8ToCodePage(std::string_view text, CodePage page) {
  const HighTable& t = TableOf(page);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    size_t n = Utf8SequenceLength(text, i, &code);
    const int byte = n == 0 ? -1 : ByteOf(code, t);
    out += byte < 0 ? '?' : static_cast<char>(byte);
    i += n == 0 ? 1 : n;
  }
  return out;
}

bool FitsCodePage(std::string_view text, CodePage page) {
  const HighTable& t = TableOf(page);
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    size_t n = Utf8SequenceLength(text, i, &code);
    if (n == 0 || ByteOf(code, t) < 0) return false;
    i += n;
  }
  return true;
}

std::string DecodeText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return std::string(bytes);
  }
  return Latin1ToUtf8(bytes);
}

std::string DecodeForeignText(std::string_view bytes) { return ReadForeignText(bytes, {}).text; }

std::string ReadingName(const TextReading& reading) {
  switch (reading.kind) {
    case TextReading::Kind::Utf8:
      return reading.page < CodePage::Count ? "UTF-8 and " + std::string(CodePageName(reading.page)) : "UTF-8";
    case TextReading::Kind::Utf16LE: return "UTF-16LE";
    case TextReading::Kind::Utf16BE: return "UTF-16BE";
    case TextReading::Kind::OneByte: break;
  }
  return std::string(CodePageName(reading.page));
}

bool ForeignText::Mixed() const {
  const Part* first = nullptr;
  for (const Part& part : parts) {
    if (part.plain) continue;
    if (first && !(part.reading == first->reading)) return true;
    first = first ? first : &part;
  }
  return false;
}

const TextReading& ForeignText::ReadingAt(size_t textOffset) const {
  static const TextReading kUtf8;
  const auto after = std::upper_bound(parts.begin(), parts.end(), textOffset,
                                      [](size_t at, const Part& p) { return at < p.textBegin; });
  return after == parts.begin() ? kUtf8 : std::prev(after)->reading;
}

namespace {

bool HasHighByte(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// UTF-16 bytes (no mark) to UTF-8; a unit that pairs with nothing, and an
// odd last byte, become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool littleEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<uint32_t>(littleEndian ? (b << 8 | a) : (a << 8 | b));
  };
  size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    uint32_t code = unit(i);
    if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x10000) {
      AppendUtf8(out, code);
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  if (i < bytes.size()) AppendUtf8(out, 0xFFFD);
  return out;
}

// True when the UTF-16 units of the bytes read as text: characters of
// Unicode that are no control (but tabs and line ends), no private or
// unassigned one, and surrogates only in their pairs, save one in 64.
bool ReadsAsUtf16Text(std::string_view bytes, bool littleEndian) {
  const size_t units = bytes.size() / 2;
  auto unit = [&](size_t i) {
    const auto a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
    return static_cast<uint32_t>(littleEndian ? (b << 8 | a) : (a << 8 | b));
  };
  size_t odd = 0;
  for (size_t i = 0; i < units; ++i) {
    const uint32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      ++i;
      continue;
    }
    const int8_t type = u_charType(static_cast<UChar32>(c));
    const bool control = type == U_CONTROL_CHAR && c != '\t' && c != '\r' && c != '\n';
    odd += control || type == U_UNASSIGNED || type == U_PRIVATE_USE_CHAR || type == U_SURROGATE ? 1 : 0;
  }
  return odd * 64 <= units;
}

// UTF-16 without a byte-order mark, told by its NUL bytes: text of Latin
// letters, digits and signs in UTF-16 has a NUL as every other byte, on the
// same side of each pair, and no text of one byte a character has NULs at
// all. Utf16LE or Utf16BE when at least three pairs in four of the file's
// head have their NUL on one side and at most one in sixteen on the other
// (the characters U+0100, U+0400...); or, for a file mostly in other
// letters (Cyrillic, Greek), when one pair in eight has it so (the tags,
// digits and line ends) and its pairs read as characters of text.
// Utf8 (not UTF-16) otherwise.
TextReading::Kind Utf16ByItsNuls(std::string_view bytes) {
  const size_t pairs = std::min(bytes.size(), kMaxSampleBytes) / 2;
  if (pairs < 2) return TextReading::Kind::Utf8;
  size_t evenNuls = 0, oddNuls = 0;
  for (size_t i = 0; i < pairs; ++i) {
    evenNuls += bytes[2 * i] == '\0' ? 1 : 0;
    oddNuls += bytes[2 * i + 1] == '\0' ? 1 : 0;
  }
  if (oddNuls * 4 >= pairs * 3 && evenNuls * 16 <= pairs) return TextReading::Kind::Utf16LE;
  if (evenNuls * 4 >= pairs * 3 && oddNuls * 16 <= pairs) return TextReading::Kind::Utf16BE;
  const std::string_view head = bytes.substr(0, pairs * 2);
  if (oddNuls * 8 >= pairs && evenNuls * 16 <= pairs && ReadsAsUtf16Text(head, true))
    return TextReading::Kind::Utf16LE;
  if (evenNuls * 8 >= pairs && oddNuls * 16 <= pairs && ReadsAsUtf16Text(head, false))
    return TextReading::Kind::Utf16BE;
  return TextReading::Kind::Utf8;
}

bool IsWordByte(unsigned char c) { return c >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Letters a word of the bytes (a run of letters and bytes above ASCII)
// holds when it reads as a word of UTF-8: valid UTF-8, with a byte above
// ASCII, of letters that form a plausible word; 0 when it does not. Bytes of
// a code page seldom form such a word: its bytes above ASCII would have to
// pair up as UTF-8 does, into letters one language writes together.
size_t Utf8WordLetters(std::string_view word) {
  if (!HasHighByte(word) || !IsValidUtf8(word)) return 0;
  const std::vector<uint32_t> codes = CodesOf(word);
  const bool letters = std::all_of(codes.begin(), codes.end(), [](uint32_t c) { return c < 0x80 || IsLetter(c); });
  return letters && PlausibleWord(codes) ? codes.size() : 0;
}

// Calls f(begin, end, utf8) for each word of the bytes that holds a byte
// above ASCII; utf8 tells whether it is a UTF-8 word. A word of one letter
// (an initial) counts only beside a UTF-8 word of two letters or more: alone
// it may be a pair of a code page, such as KOI8-R's "её", the bytes of "ţ".
template <class F>
void ForEachHighWord(std::string_view bytes, F&& f) {
  bool longWord = false;
  for (int pass = 0; pass < 2; ++pass)
    for (size_t i = 0; i < bytes.size();) {
      if (!IsWordByte(static_cast<unsigned char>(bytes[i]))) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < bytes.size() && IsWordByte(static_cast<unsigned char>(bytes[j]))) ++j;
      const std::string_view word = bytes.substr(i, j - i);
      if (HasHighByte(word)) {
        const size_t letters = Utf8WordLetters(word);
        if (pass == 0) longWord = longWord || letters >= 2;
        else f(i, j, letters >= 2 || (letters == 1 && longWord));
      }
      i = j;
    }
}

// The bytes with their UTF-8 words blanked out.
std::string WithoutUtf8Words(std::string_view bytes) {
  std::string out(bytes);
  ForEachHighWord(bytes, [&out](size_t begin, size_t end, bool utf8) {
    if (utf8) std::fill(out.begin() + static_cast<std::ptrdiff_t>(begin), out.begin() + static_cast<std::ptrdiff_t>(end), ' ');
  });
  return out;
}

// The bytes to UTF-8: the UTF-8 words as they are, the rest in the code page.
void AppendUtf8Words(std::string& out, std::string_view bytes, CodePage page) {
  size_t at = 0;
  ForEachHighWord(bytes, [&](size_t begin, size_t end, bool utf8) {
    if (!utf8) return;
    AppendCodePage(out, bytes.substr(at, begin - at), page);
    out.append(bytes.substr(begin, end - begin));
    at = end;
  });
  AppendCodePage(out, bytes.substr(at), page);
}

// What is known of the words of a file's parts: a collection repeats its
// names, so each word is checked once in the file's reading, and the
// detector asked once for the words of a part.
struct PartMemo {
  std::unordered_map<std::string, bool> plausible;
  std::unordered_map<std::string, TextReading> asked;
};

// The reading of one part of a file that is not all UTF-8.
TextReading PartReading(std::string_view part, const CodePageGuess& file, PartMemo& memo) {
  const TextReading fileReading{TextReading::Kind::OneByte, file.page};
  if (IsValidUtf8(part)) return HasHighByte(part) ? TextReading{} : fileReading;
  std::string sample = HighWords(part);
  // The file's reading stands for a part whose words it shows as written.
  bool plausible = true;
  for (size_t i = 0; i < sample.size() && plausible;) {
    const size_t end = sample.find(' ', i);
    std::string word = sample.substr(i, end - i);
    const auto known = memo.plausible.find(word);
    plausible = known != memo.plausible.end() ? known->second : ImplausibleWords(word, file.page) == 0;
    if (known == memo.plausible.end()) memo.plausible.emplace(std::move(word), plausible);
    i = end + 1;
  }
  if (plausible) return fileReading;
  auto& asked = memo.asked;
  if (const auto known = asked.find(sample); known != asked.end()) return known->second;
  const CodePageGuess own = DetectCodePage(sample);
  const auto& rivals = own.rivals;
  const bool fileAlike = own.page == file.page || CodePageToUtf8(sample, own.page) == CodePageToUtf8(sample, file.page);
  const bool tie = !own.sure && std::find(rivals.begin(), rivals.end(), file.page) != rivals.end();
  const TextReading reading = fileAlike || tie ? fileReading : TextReading{TextReading::Kind::OneByte, own.page};
  asked.emplace(std::move(sample), reading);
  return reading;
}

}  // namespace

ForeignText ReadForeignText(std::string_view bytes, const std::vector<size_t>& partStarts) {
  ForeignText out;
  const bool markLe = bytes.substr(0, 2) == "\xFF\xFE", markBe = bytes.substr(0, 2) == "\xFE\xFF";
  const TextReading::Kind unmarked = markLe || markBe ? TextReading::Kind::Utf8 : Utf16ByItsNuls(bytes);
  const bool le = markLe || unmarked == TextReading::Kind::Utf16LE;
  if (le || markBe || unmarked == TextReading::Kind::Utf16BE) {
    out.bom = std::string(bytes.substr(0, markLe || markBe ? 2 : 0));
    const TextReading reading{le ? TextReading::Kind::Utf16LE : TextReading::Kind::Utf16BE};
    out.text = Utf16ToUtf8(bytes.substr(out.bom.size()), le);
    out.parts.push_back({0, 0, reading, !HasHighByte(out.text)});
    return out;
  }
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") out.bom = std::string(bytes.substr(0, 3));
  const size_t from = out.bom.size();
  if (IsValidUtf8(bytes.substr(from))) {
    out.text = std::string(bytes.substr(from));
    out.parts.push_back({from, 0, TextReading{}, !HasHighByte(out.text)});
    return out;
  }
  // The parts, and the file's code page over those that are not UTF-8.
  std::vector<std::string_view> pieces;
  size_t begin = from;
  for (size_t start : partStarts) {
    if (start <= begin || start >= bytes.size()) continue;
    pieces.push_back(bytes.substr(begin, start - begin));
    begin = start;
  }
  pieces.push_back(bytes.substr(begin));
  // A part that is not UTF-8 as a whole may still hold words that are (a
  // UTF-8 game with a comment pasted in from an older file): its UTF-8
  // words stay UTF-8, and only its other words take part in the detection.
  std::vector<std::string> legacyOf(pieces.size());
  std::string legacy;
  for (size_t i = 0; i < pieces.size(); ++i)
    if (!IsValidUtf8(pieces[i])) {
      legacyOf[i] = WithoutUtf8Words(pieces[i]);
      legacy += legacyOf[i];
    }
  out.file = DetectCodePage(legacy);
  out.text.reserve(bytes.size() + bytes.size() / 8);
  begin = from;
  PartMemo memo;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const std::string_view piece = pieces[i];
    const bool whole = legacyOf[i].empty() || legacyOf[i] == piece;
    TextReading reading = PartReading(whole ? piece : std::string_view(legacyOf[i]), out.file, memo);
    if (!whole) reading = {TextReading::Kind::Utf8, reading.kind == TextReading::Kind::OneByte ? reading.page : out.file.page};
    out.parts.push_back({begin, out.text.size(), reading, !HasHighByte(piece)});
    if (whole && reading.kind == TextReading::Kind::Utf8)
      out.text.append(piece);
    else if (whole)
      AppendCodePage(out.text, piece, reading.page);
    else
      AppendUtf8Words(out.text, piece, reading.page);
    begin += piece.size();
  }
  return out;
}

std::string Utf8ToUtf16(std::string_view text, TextReading::Kind kind) {
  std::string out;
  out.reserve(text.size() * 2);
  auto put = [&](uint32_t unit) {
    const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    out += kind == TextReading::Kind::Utf16LE ? lo : hi;
    out += kind == TextReading::Kind::Utf16LE ? hi : lo;
  };
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0xFFFD;
    const size_t n = Utf8SequenceLength(text, i, &code);
    i += n == 0 ? 1 : n;
    if (n == 0) code = 0xFFFD;
    if (code >= 0x10000) {
      put(0xD800 + ((code - 0x10000) >> 10));
      put(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      put(code);
    }
  }
  return out;
}

std::string EncodeOwnFormat(std::string_view text) {
  if (!FitsLatin1(text)) return std::string(text);
  std::string latin1 = Utf8ToLatin1(text);
  // Latin-1 bytes that happen to form valid UTF-8 would be read back as
  // other characters (the text "Ã©" is the bytes C3 A9 in Latin-1, which
  // read as "é"): such a text is written as UTF-8.
  if (latin1 != text && IsValidUtf8(latin1)) return std::string(text);
  return latin1;
}

}  // namespace m8
