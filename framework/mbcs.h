// Code page 936 (GBK) at the byte level: the program's ANSI code page.
//
// A byte from 0x81 to 0xFE leads a double-byte character and always takes
// the next byte with it (unless that is the terminating NUL), so the second
// byte of a character, which may be 0x5C '\', 0x20 or an ASCII letter, is
// never seen as a character of its own. Code page 936 defines every pair
// whose second byte is 0x40-0x7E or 0x80-0xFE; any other pair is no
// character.
#pragma once

namespace mbcs {

inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

inline bool IsTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE);
}

// The length in bytes of the character at p: 2 for a lead byte followed by
// anything but NUL, otherwise 1 (a lone lead byte at the end counts as one).
inline int CharLength(const char* p) {
  return IsLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0' ? 2 : 1;
}

// ASCII white space as the C run time's isspace sees it in this code page.
inline bool IsSpace(unsigned char b) { return b == ' ' || (b >= 0x09 && b <= 0x0D); }

// The lower-case form of the double-byte character lead,trail, in place.
// Returns false when the pair is no character of the code page. Characters
// without a lower-case form, and those whose lower-case form the code page
// cannot write (Roman numerals eleven and twelve), stay as they are.
bool LowerPair(unsigned char* lead, unsigned char* trail);

// Lower-cases the NUL-terminated text in place: A-Z, and double-byte
// characters with a lower-case form. Stops at the first pair that is no
// character; the bytes from there on keep their case.
void LowerInPlace(char* text);

}  // namespace mbcs
