// The pattern check: one pass over the body with an explicit stack of open
// groups (and of open classes with v), so nesting costs no native stack. A
// fault ends the pass by throwing a Refusal, caught at the entry point.
//
// The tables of Unicode property names between the BEGIN and END lines are
// written by scripts/make-regexp-properties.js; the rest is written by hand.
#include "regexp_syntax.h"

#include <algorithm>  // std::binary_search, std::lower_bound, std::min
#include <cstdint>
#include <iterator>  // std::begin, std::end
#include <unordered_map>
#include <utility>  // std::move
#include <vector>

#include "char_class.h"  // IsDigit, HexValue
#include "unicode_id.h"  // IsIdStartWide, IsIdContinueWide

namespace pack {

namespace {

// BEGIN TABLES: made by scripts/make-regexp-properties.js; edit the script, not this part.
// Unicode 17.0.0, from the property tests of test262.
// Values of General_Category (gc), alone or after `gc=`: \p{Lu}, \p{gc=Letter}.
constexpr std::string_view kGeneralCategoryValues[] = {
    "C", "Cased_Letter", "Cc", "Cf", "Close_Punctuation", "Cn", "Co", "Combining_Mark",
    "Connector_Punctuation", "Control", "Cs", "Currency_Symbol", "Dash_Punctuation",
    "Decimal_Number", "Enclosing_Mark", "Final_Punctuation", "Format", "Initial_Punctuation", "L",
    "LC", "Letter", "Letter_Number", "Line_Separator", "Ll", "Lm", "Lo", "Lowercase_Letter", "Lt",
    "Lu", "M", "Mark", "Math_Symbol", "Mc", "Me", "Mn", "Modifier_Letter", "Modifier_Symbol", "N",
    "Nd", "Nl", "No", "Nonspacing_Mark", "Number", "Open_Punctuation", "Other", "Other_Letter",
    "Other_Number", "Other_Punctuation", "Other_Symbol", "P", "Paragraph_Separator", "Pc", "Pd",
    "Pe", "Pf", "Pi", "Po", "Private_Use", "Ps", "Punctuation", "S", "Sc", "Separator", "Sk", "Sm",
    "So", "Space_Separator", "Spacing_Mark", "Surrogate", "Symbol", "Titlecase_Letter",
    "Unassigned", "Uppercase_Letter", "Z", "Zl", "Zp", "Zs", "cntrl", "digit", "punct",
};
// Values of Script (sc) and Script_Extensions (scx).
constexpr std::string_view kScriptValues[] = {
    "Adlam", "Adlm", "Aghb", "Ahom", "Anatolian_Hieroglyphs", "Arab", "Arabic", "Armenian", "Armi",
    "Armn", "Avestan", "Avst", "Bali", "Balinese", "Bamu", "Bamum", "Bass", "Bassa_Vah", "Batak",
    "Batk", "Beng", "Bengali", "Berf", "Beria_Erfe", "Bhaiksuki", "Bhks", "Bopo", "Bopomofo",
    "Brah", "Brahmi", "Brai", "Braille", "Bugi", "Buginese", "Buhd", "Buhid", "Cakm",
    "Canadian_Aboriginal", "Cans", "Cari", "Carian", "Caucasian_Albanian", "Chakma", "Cham", "Cher",
    "Cherokee", "Chorasmian", "Chrs", "Common", "Copt", "Coptic", "Cpmn", "Cprt", "Cuneiform",
    "Cypriot", "Cypro_Minoan", "Cyrillic", "Cyrl", "Deseret", "Deva", "Devanagari", "Diak",
    "Dives_Akuru", "Dogr", "Dogra", "Dsrt", "Dupl", "Duployan", "Egyp", "Egyptian_Hieroglyphs",
    "Elba", "Elbasan", "Elym", "Elymaic", "Ethi", "Ethiopic", "Gara", "Garay", "Geor", "Georgian",
    "Glag", "Glagolitic", "Gong", "Gonm", "Goth", "Gothic", "Gran", "Grantha", "Greek", "Grek",
    "Gujarati", "Gujr", "Gukh", "Gunjala_Gondi", "Gurmukhi", "Guru", "Gurung_Khema", "Han", "Hang",
    "Hangul", "Hani", "Hanifi_Rohingya", "Hano", "Hanunoo", "Hatr", "Hatran", "Hebr", "Hebrew",
    "Hira", "Hiragana", "Hluw", "Hmng", "Hmnp", "Hung", "Imperial_Aramaic", "Inherited",
    "Inscriptional_Pahlavi", "Inscriptional_Parthian", "Ital", "Java", "Javanese", "Kaithi", "Kali",
    "Kana", "Kannada", "Katakana", "Kawi", "Kayah_Li", "Khar", "Kharoshthi", "Khitan_Small_Script",
    "Khmer", "Khmr", "Khoj", "Khojki", "Khudawadi", "Kirat_Rai", "Kits", "Knda", "Krai", "Kthi",
    "Lana", "Lao", "Laoo", "Latin", "Latn", "Lepc", "Lepcha", "Limb", "Limbu", "Lina", "Linb",
    "Linear_A", "Linear_B", "Lisu", "Lyci", "Lycian", "Lydi", "Lydian", "Mahajani", "Mahj", "Maka",
    "Makasar", "Malayalam", "Mand", "Mandaic", "Mani", "Manichaean", "Marc", "Marchen",
    "Masaram_Gondi", "Medefaidrin", "Medf", "Meetei_Mayek", "Mend", "Mende_Kikakui", "Merc", "Mero",
    "Meroitic_Cursive", "Meroitic_Hieroglyphs", "Miao", "Mlym", "Modi", "Mong", "Mongolian", "Mro",
    "Mroo", "Mtei", "Mult", "Multani", "Myanmar", "Mymr", "Nabataean", "Nag_Mundari", "Nagm",
    "Nand", "Nandinagari", "Narb", "Nbat", "New_Tai_Lue", "Newa", "Nko", "Nkoo", "Nshu", "Nushu",
    "Nyiakeng_Puachue_Hmong", "Ogam", "Ogham", "Ol_Chiki", "Ol_Onal", "Olck", "Old_Hungarian",
    "Old_Italic", "Old_North_Arabian", "Old_Permic", "Old_Persian", "Old_Sogdian",
    "Old_South_Arabian", "Old_Turkic", "Old_Uyghur", "Onao", "Oriya", "Orkh", "Orya", "Osage",
    "Osge", "Osma", "Osmanya", "Ougr", "Pahawh_Hmong", "Palm", "Palmyrene", "Pau_Cin_Hau", "Pauc",
    "Perm", "Phag", "Phags_Pa", "Phli", "Phlp", "Phnx", "Phoenician", "Plrd", "Prti",
    "Psalter_Pahlavi", "Qaac", "Qaai", "Rejang", "Rjng", "Rohg", "Runic", "Runr", "Samaritan",
    "Samr", "Sarb", "Saur", "Saurashtra", "Sgnw", "Sharada", "Shavian", "Shaw", "Shrd", "Sidd",
    "Siddham", "Sidetic", "Sidt", "SignWriting", "Sind", "Sinh", "Sinhala", "Sogd", "Sogdian",
    "Sogo", "Sora", "Sora_Sompeng", "Soyo", "Soyombo", "Sund", "Sundanese", "Sunu", "Sunuwar",
    "Sylo", "Syloti_Nagri", "Syrc", "Syriac", "Tagalog", "Tagb", "Tagbanwa", "Tai_Le", "Tai_Tham",
    "Tai_Viet", "Tai_Yo", "Takr", "Takri", "Tale", "Talu", "Tamil", "Taml", "Tang", "Tangsa",
    "Tangut", "Tavt", "Tayo", "Telu", "Telugu", "Tfng", "Tglg", "Thaa", "Thaana", "Thai", "Tibetan",
    "Tibt", "Tifinagh", "Tirh", "Tirhuta", "Tnsa", "Todhri", "Todr", "Tolong_Siki", "Tols", "Toto",
    "Tulu_Tigalari", "Tutg", "Ugar", "Ugaritic", "Unknown", "Vai", "Vaii", "Vith", "Vithkuqi",
    "Wancho", "Wara", "Warang_Citi", "Wcho", "Xpeo", "Xsux", "Yezi", "Yezidi", "Yi", "Yiii",
    "Zanabazar_Square", "Zanb", "Zinh", "Zyyy", "Zzzz",
};
// Binary properties, alone: \p{Alpha}.
constexpr std::string_view kBinaryProperties[] = {
    "AHex", "ASCII", "ASCII_Hex_Digit", "Alpha", "Alphabetic", "Any", "Assigned", "Bidi_C",
    "Bidi_Control", "Bidi_M", "Bidi_Mirrored", "CI", "CWCF", "CWCM", "CWKCF", "CWL", "CWT", "CWU",
    "Case_Ignorable", "Cased", "Changes_When_Casefolded", "Changes_When_Casemapped",
    "Changes_When_Lowercased", "Changes_When_NFKC_Casefolded", "Changes_When_Titlecased",
    "Changes_When_Uppercased", "DI", "Dash", "Default_Ignorable_Code_Point", "Dep", "Deprecated",
    "Dia", "Diacritic", "EBase", "EComp", "EMod", "EPres", "Emoji", "Emoji_Component",
    "Emoji_Modifier", "Emoji_Modifier_Base", "Emoji_Presentation", "Ext", "ExtPict",
    "Extended_Pictographic", "Extender", "Gr_Base", "Gr_Ext", "Grapheme_Base", "Grapheme_Extend",
    "Hex", "Hex_Digit", "IDC", "IDS", "IDSB", "IDST", "IDS_Binary_Operator", "IDS_Trinary_Operator",
    "ID_Continue", "ID_Start", "Ideo", "Ideographic", "Join_C", "Join_Control", "LOE",
    "Logical_Order_Exception", "Lower", "Lowercase", "Math", "NChar", "Noncharacter_Code_Point",
    "Pat_Syn", "Pat_WS", "Pattern_Syntax", "Pattern_White_Space", "QMark", "Quotation_Mark", "RI",
    "Radical", "Regional_Indicator", "SD", "STerm", "Sentence_Terminal", "Soft_Dotted", "Term",
    "Terminal_Punctuation", "UIdeo", "Unified_Ideograph", "Upper", "Uppercase", "VS",
    "Variation_Selector", "White_Space", "XIDC", "XIDS", "XID_Continue", "XID_Start", "space",
};
// Properties of strings, alone and with v only.
constexpr std::string_view kStringProperties[] = {
    "Basic_Emoji", "Emoji_Keycap_Sequence", "RGI_Emoji", "RGI_Emoji_Flag_Sequence",
    "RGI_Emoji_Modifier_Sequence", "RGI_Emoji_Tag_Sequence", "RGI_Emoji_ZWJ_Sequence",
};
// END TABLES

template <size_t N>
constexpr bool IsStrictlySorted(const std::string_view (&names)[N]) {
  for (size_t i = 1; i < N; ++i) {
    if (!(names[i - 1] < names[i])) return false;
  }
  return true;
}
static_assert(IsStrictlySorted(kGeneralCategoryValues), "kGeneralCategoryValues: not sorted");
static_assert(IsStrictlySorted(kScriptValues), "kScriptValues: not sorted");
static_assert(IsStrictlySorted(kBinaryProperties), "kBinaryProperties: not sorted");
static_assert(IsStrictlySorted(kStringProperties), "kStringProperties: not sorted");

template <size_t N>
bool IsListed(const std::string_view (&names)[N], std::string_view name) {
  return std::binary_search(std::begin(names), std::end(names), name);
}

enum class PropertyKind { kUnknown, kCharacters, kStrings };

// What `\p{name=value}` (hasValue) or `\p{value}` names. Names match exactly:
// `\p{Lu}`, `\p{gc=Lu}` and `\p{Script=Latn}` are known, but not `\p{lu}`, nor
// `\p{Latin}` (a script needs its property name).
PropertyKind ClassifyProperty(std::string_view name, std::string_view value, bool hasValue) {
  if (hasValue) {
    if (name == "General_Category" || name == "gc") {
      return IsListed(kGeneralCategoryValues, value) ? PropertyKind::kCharacters
                                                     : PropertyKind::kUnknown;
    }
    const bool script = name == "Script" || name == "sc" || name == "Script_Extensions" ||
                        name == "scx";
    return script && IsListed(kScriptValues, value) ? PropertyKind::kCharacters
                                                    : PropertyKind::kUnknown;
  }
  if (IsListed(kGeneralCategoryValues, value) || IsListed(kBinaryProperties, value)) {
    return PropertyKind::kCharacters;
  }
  return IsListed(kStringProperties, value) ? PropertyKind::kStrings : PropertyKind::kUnknown;
}

constexpr bool IsOneOf(char32_t c, std::u16string_view set) {
  return c < 0x80 && set.find(static_cast<char16_t>(c)) != std::u16string_view::npos;
}

// The characters that need a backslash to stand for themselves.
constexpr std::u16string_view kSyntaxCharacters = u"^$\\.*+?()[]{}|";
// Inside a v-mode class: characters that may not stand bare, those that a
// backslash may escape besides the syntax characters, and those that may not
// be doubled (`[a!!b]` is kept for future operators).
constexpr std::u16string_view kClassSetSyntaxCharacters = u"()[]{}/-\\|";
constexpr std::u16string_view kClassSetReservedPunctuators = u"&-!#%,:;<=>@`~";
constexpr std::u16string_view kClassSetReservedDoubles = u"&!#$%*+,.:;<=>?@^`~";
// \d \D \s \S \w \W
constexpr std::u16string_view kClassEscapeLetters = u"dDsSwW";

constexpr bool IsAsciiLetter(char32_t c) { return (c | 0x20) >= u'a' && (c | 0x20) <= u'z'; }
constexpr bool IsAsciiDigit(char32_t c) { return c >= u'0' && c <= u'9'; }
constexpr bool IsOctalDigit(char32_t c) { return c >= u'0' && c <= u'7'; }
constexpr bool IsLeadSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsTrailSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr char32_t JoinSurrogates(char32_t lead, char32_t trail) {
  return 0x10000 + ((lead - 0xD800) << 10) + (trail - 0xDC00);
}

// Group names are identifiers: `(?<año>…)`, `(?<$1>…)`, not `(?<1a>…)`.
bool IsNameStart(char32_t cp) {
  return cp < 0x80 ? IsAsciiLetter(cp) || cp == u'$' || cp == u'_' : IsIdStartWide(cp);
}
bool IsNamePart(char32_t cp) {
  return IsNameStart(cp) || IsAsciiDigit(cp) || IsIdContinueWide(cp);
}

void AppendUtf16(std::u16string& text, char32_t cp) {
  if (cp < 0x10000) {
    text += static_cast<char16_t>(cp);
  } else {
    text += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    text += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// The order of two decimal numbers written with any number of digits.
bool IsGreater(std::u16string_view a, std::u16string_view b) {
  a.remove_prefix(std::min(a.find_first_not_of(u'0'), a.size()));
  b.remove_prefix(std::min(b.find_first_not_of(u'0'), b.size()));
  return a.size() != b.size() ? a.size() > b.size() : a > b;
}

struct Refusal {
  size_t offset;
  const char* message;
};

enum class Mode : uint8_t {
  kLegacy,   // no u, no v: the web grammar
  kUnicode,  // u
  kSets,     // v
};

// The pattern, or a group still open. `begin` is where its contents begin
// (just past the `(`; 0 for the pattern), `lastBar` the offset of the last `|`
// directly inside it, or `begin` while there is none.
struct Group {
  enum Kind : uint8_t { kPattern, kGroup, kLookahead, kLookbehind };
  size_t begin;
  size_t lastBar;
  Kind kind;
};

// A class still open with v: `[a&&[b--c]]` holds two.
struct SetFrame {
  enum Operator : uint8_t { kNone, kUnion, kIntersection, kSubtraction };
  size_t open;  // the offset of its `[`
  bool negated;
  Operator op = kNone;  // kNone while it holds one operand or none
  size_t operands = 0;
  bool awaitingOperand = false;  // just after `&&` or `--`
  bool strings = false;          // it may match strings not one character long: \q{ab}, \q{}
};

// A character of a class, or a class escape such as \d, which has no value.
struct ClassAtom {
  char32_t value;
  bool isClass;
};

struct NamedReference {
  std::u16string name;
  size_t offset;
};

class PatternChecker {
 public:
  // `namedGroups`: `\k` must begin a reference `\k<name>`.
  PatternChecker(std::u16string_view text, Mode mode, bool namedGroups)
      : text_(text), mode_(mode), unicode_(mode != Mode::kLegacy), namedGroups_(namedGroups) {}

  // Throws a Refusal at the first fault.
  void Check();
  bool NamesGroups() const { return !names_.empty(); }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  // The unit `ahead` units on, or 0 past the end (a test against a character
  // other than 0 needs no separate end test).
  char16_t Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : 0;
  }
  void Advance(size_t units = 1) { pos_ += units; }
  char32_t ReadChar();
  char32_t ReadCodePoint();
  [[noreturn]] void Fail(size_t offset, const char* message) const {
    throw Refusal{offset, message};
  }

  void Term();
  void OpenGroup();
  void Modifiers(size_t start);
  unsigned ModifierFlags(size_t start);
  void CloseGroup();
  void Quantifier();
  size_t BracedQuantifierEnd(size_t at) const;

  void Escape();
  void AtomEscape(size_t start);
  void DecimalEscape(size_t start);
  char32_t CharacterEscape(size_t start, bool inClass);
  char32_t ControlEscape(size_t start, bool inClass);
  char32_t LegacyOctalEscape();
  char32_t IdentityEscape(size_t start, bool inClass);
  bool UnicodeEscape(bool full, char32_t& value);
  bool PropertyEscape(size_t start);

  void Class();
  ClassAtom ReadClassAtom();
  void ClassSet();
  void OpenSet(std::vector<SetFrame>& frames);
  void CloseSet(std::vector<SetFrame>& frames);
  void SetOperator(SetFrame& frame, SetFrame::Operator op);
  void AddOperand(SetFrame& frame, size_t offset, bool strings);
  void AddRange(SetFrame& frame, size_t offset);
  bool ClassString();
  char32_t ClassSetCharacter();

  std::u16string GroupName();
  void DefineName(std::u16string name, size_t groupOffset);
  bool IsInEarlierAlternative(size_t groupOffset) const;
  void CheckReferences() const;

  const std::u16string_view text_;
  const Mode mode_;
  const bool unicode_;  // u or v
  const bool namedGroups_;
  size_t pos_ = 0;
  std::vector<Group> groups_;
  size_t captures_ = 0;
  size_t largestBackReference_ = 0;  // \3 with u or v: there must be three groups
  size_t largestBackReferenceAt_ = 0;
  std::vector<NamedReference> references_;
  // Each group name and the offset of the `(` of its last group.
  std::unordered_map<std::u16string, size_t> names_;
};

// One character: a code point with u or v (a pair of surrogates is one), else
// a code unit.
char32_t PatternChecker::ReadChar() { return unicode_ ? ReadCodePoint() : text_[pos_++]; }

char32_t PatternChecker::ReadCodePoint() {
  const char32_t c = text_[pos_++];
  if (IsLeadSurrogate(c) && !AtEnd() && IsTrailSurrogate(text_[pos_])) {
    return JoinSurrogates(c, text_[pos_++]);
  }
  return c;
}

void PatternChecker::Check() {
  groups_.push_back({0, 0, Group::kPattern});
  while (!AtEnd()) Term();
  if (groups_.size() > 1) Fail(groups_.back().begin - 1, "unterminated group");
  CheckReferences();
}

// One term, an alternative's `|` or a group's `(` or `)`. An assertion (`^`,
// `$`, `\b`, `\B`, a lookbehind) takes no quantifier: the quantifier is then
// read as the next term and refused.
void PatternChecker::Term() {
  const size_t start = pos_;
  switch (Peek()) {
    case u'|':
      groups_.back().lastBar = start;
      Advance();
      return;
    case u'(':
      OpenGroup();
      return;
    case u')':
      CloseGroup();
      return;
    case u'^':
    case u'$':
      Advance();
      return;
    case u'\\':
      Escape();
      return;
    case u'[':
      if (mode_ == Mode::kSets) {
        ClassSet();
      } else {
        Class();
      }
      Quantifier();
      return;
    case u'*':
    case u'+':
    case u'?':
      Fail(start, "nothing to repeat");
    case u'{':
      // Without u, `/{/` and `/a{,5}/` hold a plain `{`, but `/{1}/` repeats nothing.
      if (BracedQuantifierEnd(start) != 0) Fail(start, "nothing to repeat");
      if (unicode_) Fail(start, "lone quantifier brackets");
      break;
    case u'}':
    case u']':
      if (unicode_) Fail(start, "lone quantifier brackets");
      break;
    default:
      break;
  }
  ReadChar();
  Quantifier();
}

// (…) (?:…) (?=…) (?!…) (?<=…) (?<!…) (?<name>…) (?i-m:…)
void PatternChecker::OpenGroup() {
  const size_t start = pos_;
  Advance();
  Group::Kind kind = Group::kGroup;
  if (Peek() != u'?') {
    ++captures_;
  } else {
    Advance();
    const char16_t c = Peek();
    if (c == u'=' || c == u'!') {
      kind = Group::kLookahead;
      Advance();
    } else if (c == u'<' && (Peek(1) == u'=' || Peek(1) == u'!')) {
      kind = Group::kLookbehind;
      Advance(2);
    } else if (c == u'<') {
      DefineName(GroupName(), start);
      ++captures_;
    } else {
      Modifiers(start);
    }
  }
  groups_.push_back({pos_, pos_, kind});
}

// After `(?`: flags to set, then after a `-` flags to clear, then `:`. The
// plain `(?:` has neither; `(?-:` and `(?i-i:` are refused.
void PatternChecker::Modifiers(size_t start) {
  const unsigned set = ModifierFlags(start);
  unsigned cleared = 0;
  if (Peek() == u'-') {
    Advance();
    cleared = ModifierFlags(start);
    if (set == 0 && cleared == 0) Fail(start, "invalid group");
  }
  if (Peek() != u':') Fail(start, "invalid group");
  if ((set & cleared) != 0) Fail(start, "repeated flag in group");
  Advance();
}

unsigned PatternChecker::ModifierFlags(size_t start) {
  constexpr std::u16string_view kFlags = u"ims";
  unsigned flags = 0;
  for (size_t at; (at = kFlags.find(Peek())) != std::u16string_view::npos;) {
    if ((flags & (1u << at)) != 0) Fail(start, "repeated flag in group");
    flags |= 1u << at;
    Advance();
  }
  return flags;
}

// A lookahead takes a quantifier only without u or v (`/(?=a)*/`); a lookbehind never.
void PatternChecker::CloseGroup() {
  if (groups_.size() == 1) Fail(pos_, "unmatched ')'");
  const Group::Kind kind = groups_.back().kind;
  groups_.pop_back();
  Advance();
  if (kind == Group::kLookbehind || (kind == Group::kLookahead && unicode_)) return;
  Quantifier();
}

// * + ? {n} {n,} {n,m}, each maybe followed by `?`. A `{` that begins no
// braced quantifier is left for the next term.
void PatternChecker::Quantifier() {
  const size_t start = pos_;
  const char16_t c = Peek();
  if (c == u'*' || c == u'+' || c == u'?') {
    Advance();
  } else if (c == u'{') {
    const size_t end = BracedQuantifierEnd(start);
    if (end == 0) return;
    const std::u16string_view bounds = text_.substr(start + 1, end - start - 2);
    const size_t comma = bounds.find(u',');
    if (comma != std::u16string_view::npos && comma + 1 < bounds.size() &&
        IsGreater(bounds.substr(0, comma), bounds.substr(comma + 1))) {
      Fail(start, "numbers out of order in {} quantifier");
    }
    pos_ = end;
  } else {
    return;
  }
  if (Peek() == u'?') Advance();
}

// The end of `{n}`, `{n,}` or `{n,m}` at `at`, or 0 if none begins there (`{,5}`, `{1`).
size_t PatternChecker::BracedQuantifierEnd(size_t at) const {
  size_t i = at + 1;
  const auto skipDigits = [&] {
    const size_t from = i;
    while (i < text_.size() && IsDigit(text_[i])) ++i;
    return i > from;
  };
  if (!skipDigits()) return 0;
  if (i < text_.size() && text_[i] == u',') {
    ++i;
    skipDigits();
  }
  return i < text_.size() && text_[i] == u'}' ? i + 1 : 0;
}

// A backslash outside a class: the assertions \b and \B, or an atom.
void PatternChecker::Escape() {
  const size_t start = pos_;
  Advance();
  if (AtEnd()) Fail(start, "\\ at end of pattern");
  if (Peek() == u'b' || Peek() == u'B') {
    Advance();
    return;
  }
  AtomEscape(start);
  Quantifier();
}

void PatternChecker::AtomEscape(size_t start) {
  const char16_t c = Peek();
  if (c >= u'1' && c <= u'9') {
    DecimalEscape(start);
  } else if (c == u'k' && namedGroups_) {
    Advance();
    if (Peek() != u'<') Fail(start, "invalid named reference");
    references_.push_back({GroupName(), start});
  } else if (IsOneOf(c, kClassEscapeLetters)) {
    Advance();
  } else if ((c == u'p' || c == u'P') && unicode_) {
    PropertyEscape(start);
  } else {
    CharacterEscape(start, false);
  }
}

// \1 … \99: with u or v a group of that number must exist somewhere in the
// pattern (`/\1(a)/u` is fine). Without them a number past the groups is an
// octal escape or the digit itself, so any number is accepted.
void PatternChecker::DecimalEscape(size_t start) {
  constexpr size_t kLarge = SIZE_MAX / 10 - 10;
  size_t number = 0;
  while (IsDigit(Peek())) {
    number = number > kLarge ? kLarge : number * 10 + static_cast<size_t>(Peek() - u'0');
    Advance();
  }
  if (unicode_ && number > largestBackReference_) {
    largestBackReference_ = number;
    largestBackReferenceAt_ = start;
  }
}

// An escape that stands for one character; returns its value. `start` is the
// offset of the backslash, the reading position the unit after it.
char32_t PatternChecker::CharacterEscape(size_t start, bool inClass) {
  const char16_t c = Peek();
  switch (c) {
    case u'f': Advance(); return u'\f';
    case u'n': Advance(); return u'\n';
    case u'r': Advance(); return u'\r';
    case u't': Advance(); return u'\t';
    case u'v': Advance(); return u'\v';
    case u'c':
      return ControlEscape(start, inClass);
    case u'0':
      if (!IsDigit(Peek(1))) {
        Advance();
        return 0;
      }
      if (unicode_) Fail(start, inClass ? "invalid class escape" : "invalid decimal escape");
      return LegacyOctalEscape();
    case u'1': case u'2': case u'3': case u'4': case u'5': case u'6': case u'7':
      // Outside a class a digit is a DecimalEscape; here it is an octal escape.
      if (unicode_) Fail(start, "invalid class escape");
      return LegacyOctalEscape();
    case u'x': {
      const int high = HexValue(Peek(1)), low = HexValue(Peek(2));
      if (high >= 0 && low >= 0) {
        Advance(3);
        return static_cast<char32_t>(high * 16 + low);
      }
      if (unicode_) Fail(start, "invalid escape");
      Advance();
      return u'x';
    }
    case u'u': {
      char32_t value = 0;
      if (UnicodeEscape(unicode_, value)) return value;
      if (unicode_) Fail(start, "invalid unicode escape");
      Advance();
      return u'u';
    }
    default:
      return IdentityEscape(start, inClass);
  }
}

// \cJ is U+000A. Without u a class also takes a digit or `_` (`[\c1]`), and a
// `\c` followed by anything else is a backslash, with the `c` read next
// (`/\c/` matches the two characters).
char32_t PatternChecker::ControlEscape(size_t start, bool inClass) {
  const char16_t letter = Peek(1);
  if (IsAsciiLetter(letter) || (!unicode_ && inClass && (IsDigit(letter) || letter == u'_'))) {
    Advance(2);
    return static_cast<char32_t>(letter % 32);
  }
  if (unicode_) Fail(start, "invalid escape");
  return u'\\';
}

// \0 before 8 or 9, \7, \07, \377, \47 (and \477 is \47 then 7): without u only.
char32_t PatternChecker::LegacyOctalEscape() {
  const char32_t first = static_cast<char32_t>(Peek() - u'0');
  Advance();
  char32_t value = first;
  const size_t more = first <= 3 ? 2 : 1;
  for (size_t i = 0; i < more && IsOctalDigit(Peek()); ++i) {
    value = value * 8 + static_cast<char32_t>(Peek() - u'0');
    Advance();
  }
  return value;
}

// With u or v only the syntax characters and `/` (and `-` in a class) may be
// escaped; without them anything but `c` (and `k` once the pattern names a group).
char32_t PatternChecker::IdentityEscape(size_t start, bool inClass) {
  const char16_t c = Peek();
  if (unicode_) {
    if (!IsOneOf(c, kSyntaxCharacters) && c != u'/' && !(inClass && c == u'-')) {
      Fail(start, "invalid escape");
    }
    Advance();
    return c;
  }
  if (c == u'k' && namedGroups_) Fail(start, "invalid escape");
  return ReadChar();
}

// At the `u` of \uXXXX; `full` also takes \u{X…} up to 10FFFF and joins an
// escaped pair of surrogates, as u and v do (and group names always do).
// Returns false, reading nothing, if no such escape stands here.
bool PatternChecker::UnicodeEscape(bool full, char32_t& value) {
  if (full && Peek(1) == u'{') {
    size_t i = pos_ + 2;
    char32_t cp = 0;
    for (; i < text_.size() && HexValue(text_[i]) >= 0; ++i) {
      cp = std::min<char32_t>(cp * 16 + static_cast<char32_t>(HexValue(text_[i])), 0x110000);
    }
    if (i == pos_ + 2 || i >= text_.size() || text_[i] != u'}' || cp > 0x10FFFF) return false;
    pos_ = i + 1;
    value = cp;
    return true;
  }
  const auto hex4 = [this](size_t at, char32_t& out) {
    out = 0;
    for (size_t i = 0; i < 4; ++i) {
      const int digit = HexValue(Peek(at + i));
      if (digit < 0) return false;
      out = out * 16 + static_cast<char32_t>(digit);
    }
    return true;
  };
  if (!hex4(1, value)) return false;
  Advance(5);
  char32_t trail = 0;
  if (full && IsLeadSurrogate(value) && Peek() == u'\\' && Peek(1) == u'u' && hex4(2, trail) &&
      IsTrailSurrogate(trail)) {
    value = JoinSurrogates(value, trail);
    Advance(6);
  }
  return true;
}

// \p{…} or \P{…} with u or v, at the `p`; returns whether it names a property
// of strings (\p{RGI_Emoji}), which only v allows and \P never.
bool PatternChecker::PropertyEscape(size_t start) {
  const bool negated = Peek() == u'P';
  Advance();
  if (Peek() != u'{') Fail(start, "invalid property name");
  Advance();
  std::string name, value;
  bool hasValue = false;
  for (; !AtEnd() && Peek() != u'}'; Advance()) {
    const char16_t c = Peek();
    if (c == u'=' && !hasValue) {
      hasValue = true;
    } else if (IsAsciiLetter(c) || IsDigit(c) || c == u'_') {
      (hasValue ? value : name) += static_cast<char>(c);
    } else {
      Fail(start, "invalid property name");
    }
  }
  if (AtEnd()) Fail(start, "invalid property name");
  Advance();
  const PropertyKind kind = ClassifyProperty(name, hasValue ? value : name, hasValue);
  if (kind == PropertyKind::kUnknown ||
      (kind == PropertyKind::kStrings && (mode_ != Mode::kSets || negated))) {
    Fail(start, "invalid property name");
  }
  return kind == PropertyKind::kStrings;
}

// A class without v: atoms and ranges up to the first unescaped `]`.
void PatternChecker::Class() {
  const size_t start = pos_;
  Advance();
  if (Peek() == u'^') Advance();
  for (;;) {
    if (AtEnd()) Fail(start, "unterminated character class");
    if (Peek() == u']') {
      Advance();
      return;
    }
    const size_t from = pos_;
    const ClassAtom first = ReadClassAtom();
    // `[a-]` ends with a plain `-`.
    if (Peek() != u'-' || Peek(1) == u']' || pos_ + 1 >= text_.size()) continue;
    Advance();
    const ClassAtom last = ReadClassAtom();
    if (first.isClass || last.isClass) {
      // Without u, `[\d-z]` is the three: digits, `-` and `z`.
      if (unicode_) Fail(from, "invalid character class");
    } else if (first.value > last.value) {
      Fail(from, "range out of order in character class");
    }
  }
}

ClassAtom PatternChecker::ReadClassAtom() {
  if (Peek() != u'\\') return {ReadChar(), false};
  const size_t start = pos_;
  Advance();
  if (AtEnd()) Fail(start, "\\ at end of pattern");
  const char16_t c = Peek();
  if (c == u'b') {
    Advance();
    return {u'\b', false};
  }
  if (IsOneOf(c, kClassEscapeLetters)) {
    Advance();
    return {0, true};
  }
  if ((c == u'p' || c == u'P') && unicode_) {
    PropertyEscape(start);
    return {0, true};
  }
  return {CharacterEscape(start, true), false};
}

// A class with v: `[` may open a nested class, and a class is a union of
// operands and ranges (`[a-z\d]`), or operands joined all by `&&` or all by
// `--` (`[\w--\d--_]`). Nested classes go on a stack of frames.
void PatternChecker::ClassSet() {
  std::vector<SetFrame> frames;
  OpenSet(frames);
  while (!frames.empty()) {
    if (AtEnd()) Fail(frames.front().open, "unterminated character class");
    const size_t at = pos_;
    const char16_t c = Peek();
    if (c == u']') {
      CloseSet(frames);
    } else if (c == u'[') {
      OpenSet(frames);
    } else if ((c == u'&' || c == u'-') && Peek(1) == c) {
      SetOperator(frames.back(), c == u'&' ? SetFrame::kIntersection : SetFrame::kSubtraction);
    } else if (c == u'\\' && Peek(1) == u'q') {
      AddOperand(frames.back(), at, ClassString());
    } else if (c == u'\\' && (IsOneOf(Peek(1), kClassEscapeLetters))) {
      Advance(2);
      AddOperand(frames.back(), at, false);
    } else if (c == u'\\' && (Peek(1) == u'p' || Peek(1) == u'P')) {
      Advance();
      AddOperand(frames.back(), at, PropertyEscape(at));
    } else {
      const char32_t first = ClassSetCharacter();
      if (Peek() != u'-' || Peek(1) == u'-') {
        AddOperand(frames.back(), at, false);
        continue;
      }
      Advance();
      if (first > ClassSetCharacter()) Fail(at, "range out of order in character class");
      AddRange(frames.back(), at);
    }
  }
}

void PatternChecker::OpenSet(std::vector<SetFrame>& frames) {
  SetFrame frame{};
  frame.open = pos_;
  Advance();
  frame.negated = Peek() == u'^';
  if (frame.negated) Advance();
  frames.push_back(frame);
}

// `[^…]` matches single characters only, so what it holds may not match
// strings: `[^\q{ab}]` and `[^\p{RGI_Emoji}]` are refused, `[^\q{a}]` is not.
void PatternChecker::CloseSet(std::vector<SetFrame>& frames) {
  const SetFrame frame = frames.back();
  if (frame.awaitingOperand) Fail(pos_, "invalid set operation in character class");
  if (frame.negated && frame.strings) {
    Fail(frame.open, "negated character class may contain strings");
  }
  Advance();
  frames.pop_back();
  if (!frames.empty()) AddOperand(frames.back(), frame.open, frame.strings);
}

// `&&` or `--` after exactly one operand, or after an operand of the same
// operator: `[a&&b&&c]`, not `[ab&&c]`, `[a&&b--c]`, `[&&a]` or `[a&&&b]`.
void PatternChecker::SetOperator(SetFrame& frame, SetFrame::Operator op) {
  const size_t at = pos_;
  if (frame.awaitingOperand || frame.operands == 0 || frame.op == SetFrame::kUnion ||
      (frame.op != SetFrame::kNone && frame.op != op)) {
    Fail(at, "invalid set operation in character class");
  }
  frame.op = op;
  frame.awaitingOperand = true;
  Advance(2);
  if (op == SetFrame::kIntersection && Peek() == u'&') {
    Fail(at, "invalid character in character class");
  }
}

// Whether the class may match strings: a union if any operand may, an
// intersection if all may, a subtraction if its first operand may.
void PatternChecker::AddOperand(SetFrame& frame, size_t offset, bool strings) {
  if (frame.awaitingOperand) {
    frame.awaitingOperand = false;
    if (frame.op == SetFrame::kIntersection) frame.strings = frame.strings && strings;
  } else if (frame.op == SetFrame::kIntersection || frame.op == SetFrame::kSubtraction) {
    Fail(offset, "invalid set operation in character class");
  } else {
    if (frame.operands > 0) frame.op = SetFrame::kUnion;
    frame.strings = frame.strings || strings;
  }
  ++frame.operands;
}

// A range is a member of a union only: `[a-z&&b]` is refused.
void PatternChecker::AddRange(SetFrame& frame, size_t offset) {
  if (frame.op == SetFrame::kIntersection || frame.op == SetFrame::kSubtraction) {
    Fail(offset, "invalid set operation in character class");
  }
  frame.op = SetFrame::kUnion;
  ++frame.operands;
}

// \q{…|…} at the backslash; returns whether an alternative is not exactly one
// character long (`\q{}` and `\q{ab|c}` may match strings, `\q{a|b}` not).
bool PatternChecker::ClassString() {
  const size_t start = pos_;
  Advance(2);
  if (Peek() != u'{') Fail(start, "invalid escape");
  Advance();
  bool strings = false;
  size_t length = 0;
  for (;;) {
    if (AtEnd()) Fail(start, "unterminated class string");
    const char16_t c = Peek();
    if (c == u'}' || c == u'|') {
      strings = strings || length != 1;
      length = 0;
      Advance();
      if (c == u'}') return strings;
      continue;
    }
    ClassSetCharacter();
    ++length;
  }
}

// One character of a v-mode class. `( ) [ ] { } / - \ |` need a backslash, a
// doubled punctuator such as `!!` is refused, and a backslash also escapes
// the punctuators `& - ! # % , : ; < = > @ \` ~`.
char32_t PatternChecker::ClassSetCharacter() {
  const size_t start = pos_;
  const char16_t c = Peek();
  if (AtEnd()) Fail(start, "unterminated character class");
  if (c == u'\\') {
    Advance();
    if (AtEnd()) Fail(start, "\\ at end of pattern");
    const char16_t escaped = Peek();
    if (escaped == u'b') {
      Advance();
      return u'\b';
    }
    if (IsOneOf(escaped, kClassSetReservedPunctuators)) {
      Advance();
      return escaped;
    }
    return CharacterEscape(start, true);
  }
  if (IsOneOf(c, kClassSetSyntaxCharacters)) {
    Fail(start, "invalid character in character class");
  }
  if (Peek(1) == c && IsOneOf(c, kClassSetReservedDoubles)) {
    Fail(start, "invalid set operation in character class");
  }
  return ReadChar();
}

// <name> at the `<`; returns the name with its escapes decoded, so that
// `(?<a>…)` and `(?<\u0061>…)` name the same group.
std::u16string PatternChecker::GroupName() {
  const size_t start = pos_;
  Advance();
  std::u16string name;
  for (;;) {
    if (AtEnd()) Fail(start, "invalid capture group name");
    if (Peek() == u'>') break;
    char32_t cp = 0;
    if (Peek() == u'\\') {
      Advance();
      if (Peek() != u'u' || !UnicodeEscape(true, cp)) Fail(start, "invalid capture group name");
    } else {
      cp = ReadCodePoint();
    }
    if (!(name.empty() ? IsNameStart(cp) : IsNamePart(cp))) {
      Fail(start, "invalid capture group name");
    }
    AppendUtf16(name, cp);
  }
  if (name.empty()) Fail(start, "invalid capture group name");
  Advance();
  return name;
}

// Two groups may share a name only if they lie in different alternatives:
// `(?<y>\d{4})-\d|\d-(?<y>\d{4})` and `((?<a>x)|(?<a>y))`, not
// `(?<a>x)(?<a>y)` or `(?:(?<a>x)|y)(?<a>z)`. Checking the last group of that
// name is enough: every earlier one was in an earlier alternative of it.
void PatternChecker::DefineName(std::u16string name, size_t groupOffset) {
  const auto [entry, added] = names_.try_emplace(std::move(name), groupOffset);
  if (added) return;
  if (!IsInEarlierAlternative(entry->second)) Fail(groupOffset, "duplicate capture group name");
  entry->second = groupOffset;
}

// Whether the group at `groupOffset`, read before, lies in an earlier
// alternative than the reading position of some group still open: of the
// deepest open group that holds it, since the open groups hold each other.
bool PatternChecker::IsInEarlierAlternative(size_t groupOffset) const {
  const auto holds = std::lower_bound(
      groups_.begin(), groups_.end(), groupOffset,
      [](const Group& group, size_t offset) { return group.begin <= offset; });
  return groupOffset < std::prev(holds)->lastBar;
}

// References may point forward (`/\k<a>(?<a>x)/`), so they are resolved last.
void PatternChecker::CheckReferences() const {
  if (largestBackReference_ > captures_) {
    Fail(largestBackReferenceAt_, "invalid backreference");
  }
  for (const NamedReference& reference : references_) {
    if (names_.count(reference.name) == 0) {
      Fail(reference.offset, "invalid named capture referenced");
    }
  }
}

// The mode the flags choose, or false if they are not each of dgimsuyv at
// most once with not both u and v.
bool ReadFlags(std::u16string_view flags, Mode& mode) {
  constexpr std::u16string_view kFlags = u"dgimsuyv";
  unsigned seen = 0;
  for (const char16_t c : flags) {
    const size_t bit = kFlags.find(c);
    if (bit == std::u16string_view::npos || (seen & (1u << bit)) != 0) return false;
    seen |= 1u << bit;
  }
  const bool unicode = flags.find(u'u') != std::u16string_view::npos;
  const bool sets = flags.find(u'v') != std::u16string_view::npos;
  mode = sets ? Mode::kSets : unicode ? Mode::kUnicode : Mode::kLegacy;
  return !(unicode && sets);
}

}  // namespace

bool CheckRegExpPattern(std::u16string_view body, std::u16string_view flags,
                        RegExpProblem& problem) {
  Mode mode = Mode::kLegacy;
  if (!ReadFlags(flags, mode)) {
    problem = {body.size(), "invalid regular expression flags"};
    return false;
  }
  try {
    PatternChecker checker(body, mode, mode != Mode::kLegacy);
    checker.Check();
    // Without u or v, `\k` is a plain `k` unless the pattern names a group;
    // then it is read again with `\k<name>` a reference (`/\k/` is fine,
    // `/(?<a>.)\k/` is not).
    if (mode == Mode::kLegacy && checker.NamesGroups()) {
      PatternChecker(body, mode, true).Check();
    }
    return true;
  } catch (const Refusal& refusal) {
    problem = {refusal.offset, refusal.message};
    return false;
  }
}

}  // namespace pack
