// Identifier and white-space classes of the code points above ASCII, by the
// Unicode tables of unicode_id.cpp. ASCII (the letters, digits, `$` and `_`)
// is classed by char_class.h: these functions answer false below 0x80.
// They take whole code points: a UTF-16 reader joins a surrogate pair first,
// and a lone surrogate, like anything above 0x10FFFF, is in no class.
#pragma once

namespace pack {

// A character that may begin an identifier: `é` in `café`, `π`, `〇`, the
// astral `𝐀` (U+1D400), and the few kept for old text such as `℘` (U+2118)
// and the kana sound marks U+309B and U+309C.
bool IsIdStartWide(char32_t cp);

// A character that may follow the first one: every start, and also combining
// marks (`é` written as `e` and U+0301), digits of other scripts (`x١`, with
// ARABIC-INDIC DIGIT ONE), the middle dot U+00B7, and the joiners U+200C and
// U+200D, which some scripts need inside a word.
bool IsIdContinueWide(char32_t cp);

// White space above ASCII: the space separators (`a\u00A0=\u30001`) and the
// byte-order mark U+FEFF. The same set as IsWideBlank of char_class.h, which
// takes UTF-16 code units; U+2028 and U+2029 end lines and are not spaces.
bool IsWideSpace(char32_t cp);

}  // namespace pack
