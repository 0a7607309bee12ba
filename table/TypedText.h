// What the pop-up searches for when the trader types: the input edit upper-cases the text, and an
// input method in full-width mode gives full-width digits and capitals, which are searched as
// their ASCII forms (the key comparison itself folds only full-width characters of stored keys).
#pragma once

// c, or the ASCII digit or capital letter of a full-width one.
inline wchar_t FoldTypedCharacter(wchar_t c) {
  if ((c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A))
    return static_cast<wchar_t>(c - 0xFEE0);
  return c;
}
