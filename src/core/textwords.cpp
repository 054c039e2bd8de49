#include "core/textwords.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf8.h>

#include <algorithm>

namespace m8 {

std::vector<uint32_t> CodesOf(std::string_view utf8) {
  std::vector<uint32_t> codes;
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int32_t>(utf8.size());
  for (int32_t i = 0; i < length;) {
    UChar32 code = 0;
    U8_NEXT(bytes, i, length, code);
    if (code < 0) break;
    codes.push_back(static_cast<uint32_t>(code));
  }
  return codes;
}

namespace {

// The accented letters each language that writes in Latin letters uses; a
// word read in a code page is plausible when its letters above ASCII all
// belong to one of them.
constexpr const char* kLatinAlphabets[] = {
    "áéíóúýþæöð",                  // Icelandic
    "æøåéóô",                      // Danish, Norwegian
    "åäöéü",                       // Swedish, Finnish
    "äöüß",                        // German
    "àâæçéèêëîïôœùûüÿ",            // French
    "áéíóúñü",                     // Spanish
    "àçèéíïòóú",                   // Catalan
    "áâãàçéêíóôõúü",               // Portuguese
    "àèéìíîòóùú",                  // Italian
    "áéèëïóöüíú",                  // Dutch
    "ąćęłńóśźż",                   // Polish
    "áäčďéěíľňóôřšťúůýž",          // Czech, Slovak
    "áéíóöőúüű",                   // Hungarian
    "ăâîșşțţ",                     // Romanian
    "čćđšž",                       // Croatian, Slovene, Bosnian
    "çğıİöşü",                     // Turkish (İ, whose small letter is i)
    "ąčęėįšųūž",                   // Lithuanian
    "āčēģīķļņšūž",                 // Latvian
    "õäöüšž",                      // Estonian
    "çë",                          // Albanian
    "ċġħżàèìòù",                   // Maltese
    "ĉĝĥĵŝŭ",                      // Esperanto
};

const std::vector<std::vector<uint32_t>>& LatinAlphabets() {
  static const auto alphabets = [] {
    std::vector<std::vector<uint32_t>> out;
    for (const char* a : kLatinAlphabets) out.push_back(CodesOf(a));
    return out;
  }();
  return alphabets;
}

}  // namespace

bool IsLetter(uint32_t c) {
  const auto cat = U_GET_GC_MASK(static_cast<UChar32>(c));
  return (cat & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
}

namespace {

// The small letter of an accented letter as the alphabets above list it;
// Turkish İ, whose small letter is the plain i, stays itself.
uint32_t AccentedKey(uint32_t c) {
  const auto lower = static_cast<uint32_t>(u_tolower(static_cast<UChar32>(c)));
  return lower >= 0x80 ? lower : c;
}

// Signs written right after a letter: the degree and marks of trade after
// any word ("N°", "Name®"), powers only after a unit or a variable of one or
// two letters ("m²", "km²", "x³"). A power after a longer word is a letter of
// another code page: "Pawe³" and "Micha³" are Polish "Paweł" and "Michał"
// read as Western.
bool FollowsLetter(uint32_t c, size_t lettersBefore) {
  if (c == 0xB0 || c == 0xAE || c == 0x2122) return true;
  return (c == 0xB9 || c == 0xB2 || c == 0xB3) && lettersBefore <= 2;
}

// A sign that no name or comment writes, even between words: the spacing
// accents of the Central European code pages ("˝", "˘", "˛", "ˇ"), the
// currency sign "¤", a line or block of the DOS code pages, a control or
// unassigned character. They stand at the bytes of the signs game records
// and Western text use ("½", "¢", "²"), so a reading that shows them reads
// a sign wrongly.
bool OddSign(uint32_t c) {
  if (c == 0xA4 || (c >= 0x2500 && c <= 0x259F)) return true;
  const auto cat = U_GET_GC_MASK(static_cast<UChar32>(c));
  return (cat & (U_GC_SK_MASK | U_GC_CC_MASK | U_GC_CO_MASK | U_GC_CN_MASK)) != 0;
}

// Greek words of more than one syllable carry an accent, and words of one
// vowel none; Cyrillic letters read as Greek ones seldom do so ("ίν" for
// "Ян"). A word in capitals is taken as it is.
bool PlausibleGreek(const std::vector<uint32_t>& word) {
  static const std::vector<uint32_t> accented = CodesOf("άέήίόύώΐΰ");
  static const std::vector<uint32_t> vowels = CodesOf("αεηιουωϊϋάέήίόύώΐΰ");
  int letters = 0, vowelCount = 0;
  bool lower = false, accent = false;
  for (uint32_t c : word) {
    if (!IsLetter(c)) continue;
    ++letters;
    lower = lower || u_islower(static_cast<UChar32>(c));
    const auto l = static_cast<uint32_t>(u_tolower(static_cast<UChar32>(c)));
    accent = accent || std::find(accented.begin(), accented.end(), l) != accented.end();
    vowelCount += std::find(vowels.begin(), vowels.end(), l) != vowels.end() ? 1 : 0;
  }
  if (accent) return letters < 2 || vowelCount > 1;
  return letters < 4 || !lower;
}

// Marks that may stand right before the first letter of a word: opening
// quotes and brackets, the Spanish inverted marks, dashes, the apostrophe.
bool OpensWord(uint32_t c) {
  static const std::vector<uint32_t> opening = CodesOf("„“‘‚«‹¿¡–—'\"(");
  if (std::find(opening.begin(), opening.end(), c) != opening.end()) return true;
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & (U_GC_PS_MASK | U_GC_PD_MASK | U_GC_Z_MASK)) != 0;
}

// Marks that may stand between two letters of a word.
bool JoinsLetters(uint32_t c) {
  static const std::vector<uint32_t> joining = CodesOf("'’‘ʼ.·-‐‑–");
  return std::find(joining.begin(), joining.end(), c) != joining.end();
}

}  // namespace

// True when a word read in some code page looks written: its letters in one
// script, no sign or control character glued to them, and, in Latin letters,
// accents that one language writes together. Punctuation (quotes, dashes)
// sits between words.
bool PlausibleWord(const std::vector<uint32_t>& word) {
  UScriptCode script = USCRIPT_COMMON;
  std::vector<uint32_t> accented;
  bool letters = false;
  for (size_t k = 0; k < word.size(); ++k) {
    const uint32_t c = word[k];
    if (IsLetter(c)) {
      letters = true;
      UErrorCode err = U_ZERO_ERROR;
      const UScriptCode s = uscript_getScript(static_cast<UChar32>(c), &err);
      if (s != USCRIPT_COMMON && s != USCRIPT_INHERITED) {
        if (script != USCRIPT_COMMON && s != script) return false;
        script = s;
      }
      if (c >= 0x80) accented.push_back(AccentedKey(c));
      continue;
    }
    if (U_GET_GC_MASK(static_cast<UChar32>(c)) & (U_GC_P_MASK | U_GC_Z_MASK)) {
      // Only an opening mark stands right before the first letter of a word:
      // a closing quote or a sign such as "¶" there is a letter of another
      // code page ("’ρης" for "Άρης").
      if (!letters && k + 1 < word.size() && IsLetter(word[k + 1]) && !OpensWord(c)) return false;
      // Between two letters only an apostrophe, a hyphen or a dot joins them
      // ("O’Brien", "Jean-Luc", "col·lecció"): "P‰rnu" is "Pärnu" read as
      // Macintosh.
      if (letters && k + 1 < word.size() && IsLetter(word[k + 1]) && !JoinsLetters(c)) return false;
      // The middle dot is written between two "l" only ("col·lecció"):
      // elsewhere beside a letter it is the "á" of a Western file read as
      // Macintosh ("Kov·cs" for "Kovács").
      if (c == 0xB7) {
        auto isL = [](uint32_t l) { return l == 'l' || l == 'L'; };
        const bool beside = (k > 0 && IsLetter(word[k - 1])) || (k + 1 < word.size() && IsLetter(word[k + 1]));
        if (beside && !(k > 0 && k + 1 < word.size() && isL(word[k - 1]) && isL(word[k + 1]))) return false;
      }
      continue;
    }
    // A sign, number or control character: wrong when it touches a letter,
    // or when no text writes it at all. A word may carry a power, a degree
    // or a mark of trade after it ("m²", "N°", "Name®").
    size_t lettersBefore = 0;
    while (lettersBefore < k && IsLetter(word[k - 1 - lettersBefore])) ++lettersBefore;
    const bool before = lettersBefore > 0 && !FollowsLetter(c, lettersBefore);
    const bool after = k + 1 < word.size() && IsLetter(word[k + 1]);
    if (before || after || OddSign(c)) return false;
  }
  // Outside Latin letters ("McDonald") no capital follows a small letter in a
  // word: KOI8 shows Windows-1251 words so ("сЕРГЕЙ"), and the other way round.
  if (script != USCRIPT_LATIN)
    for (size_t k = 1; k < word.size(); ++k)
      if (u_islower(static_cast<UChar32>(word[k - 1])) && u_isupper(static_cast<UChar32>(word[k]))) return false;
  if (script == USCRIPT_GREEK) return PlausibleGreek(word);
  // No word begins with eth, the one language that writes it (Icelandic)
  // included: "Ðiauliai" is a Baltic "Šiauliai" read as Western.
  const auto first = std::find_if(word.begin(), word.end(), IsLetter);
  if (first != word.end() && (*first == 0xD0 || *first == 0xF0)) return false;
  if (!letters || script != USCRIPT_LATIN || accented.empty()) return true;
  for (const auto& alphabet : LatinAlphabets()) {
    if (std::all_of(accented.begin(), accented.end(), [&alphabet](uint32_t c) {
          return std::find(alphabet.begin(), alphabet.end(), c) != alphabet.end();
        }))
      return true;
  }
  return false;
}

WordCounts CountWords(std::string_view text) {
  const std::vector<uint32_t> codes = CodesOf(text);
  WordCounts counts;
  std::vector<uint32_t> word;
  auto count = [&counts, &word] {
    if (word.empty()) return;
    const auto first = std::find_if(word.begin(), word.end(), IsLetter);
    if (!PlausibleWord(word)) {
      ++counts.bad;
    } else if (first != word.end()) {
      // No name of a player or a place begins with "ý" (Czech and Slovak
      // write it after consonants only), and Icelandic writes "þ" at the
      // start of a word: "Ýzmir" and "Eskiþehir" are Turkish "İzmir" and
      // "Eskişehir" read as Western.
      const bool thornInside =
          std::find_if(first + 1, word.end(), [](uint32_t c) { return AccentedKey(c) == 0xFE; }) != word.end();
      // Nor does an accented capital stand inside a word beside a small
      // letter ("RenŽ" and "JŸrgen" are Macintosh "René" and "Jürgen" read
      // as Western).
      auto lower = [](uint32_t c) { return u_islower(static_cast<UChar32>(c)) != 0; };
      bool capitalInside = false;
      for (auto at = first + 1; at != word.end() && !capitalInside; ++at)
        capitalInside = *at >= 0x80 && u_isupper(static_cast<UChar32>(*at)) &&
                        (lower(*(at - 1)) || (at + 1 != word.end() && lower(*(at + 1))));
      counts.unlikely += AccentedKey(*first) == 0xFD || thornInside || capitalInside ? 1 : 0;
      const bool small = std::all_of(first + 1, word.end(), [](uint32_t c) {
        return !IsLetter(c) || u_islower(static_cast<UChar32>(c));
      });
      counts.names += u_isupper(static_cast<UChar32>(*first)) && small && first + 1 != word.end() ? 1 : 0;
    }
    word.clear();
  };
  for (uint32_t c : codes) {
    if (c == ' ') count();
    else word.push_back(c);
  }
  count();
  return counts;
}


int AlphabetsNeeded(std::string_view text) {
  std::vector<uint32_t> left;
  for (uint32_t c : CodesOf(text)) {
    if (c < 0x80 || !IsLetter(c)) continue;
    UErrorCode err = U_ZERO_ERROR;
    if (uscript_getScript(static_cast<UChar32>(c), &err) != USCRIPT_LATIN) continue;
    const uint32_t key = AccentedKey(c);
    if (std::find(left.begin(), left.end(), key) == left.end()) left.push_back(key);
  }
  int needed = 0;
  while (!left.empty()) {
    size_t most = 0;
    const std::vector<uint32_t>* pick = nullptr;
    for (const auto& alphabet : LatinAlphabets()) {
      const auto n = static_cast<size_t>(std::count_if(left.begin(), left.end(), [&alphabet](uint32_t c) {
        return std::find(alphabet.begin(), alphabet.end(), c) != alphabet.end();
      }));
      if (n > most) {
        most = n;
        pick = &alphabet;
      }
    }
    ++needed;
    if (!pick) break;  // letters no alphabet holds: counted once, as the words' check counts them
    std::erase_if(left, [pick](uint32_t c) { return std::find(pick->begin(), pick->end(), c) != pick->end(); });
  }
  return needed;
}

}  // namespace m8
