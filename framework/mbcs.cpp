// Code page 936 lower-casing.
#include "framework/mbcs.h"

namespace mbcs {
namespace {

// The double-byte capitals of code page 936 that have a lower-case form in
// it, as runs: [lead, first trail, last trail, lower-case lead, its first
// trail]. Full-width Latin, Greek, Cyrillic and the Roman numerals one to ten.
// Checked against Windows' own conversion for every pair by the tests.
struct CaseRun {
  unsigned char lead, first, last, lowerLead, lowerFirst;
};
const CaseRun kRuns[] = {
    {0xA2, 0xF1, 0xFA, 0xA2, 0xA1},  // Roman numerals I-X
    {0xA3, 0xC1, 0xDA, 0xA3, 0xE1},  // full-width A-Z
    {0xA6, 0xA1, 0xB8, 0xA6, 0xC1},  // Greek
    {0xA7, 0xA1, 0xC1, 0xA7, 0xD1},  // Cyrillic
};

}  // namespace

bool LowerPair(unsigned char* lead, unsigned char* trail) {
  if (!IsLeadByte(*lead) || !IsTrailByte(*trail)) return false;
  for (const CaseRun& run : kRuns) {
    if (*lead == run.lead && *trail >= run.first && *trail <= run.last) {
      *trail = static_cast<unsigned char>(run.lowerFirst + (*trail - run.first));
      *lead = run.lowerLead;
      break;
    }
  }
  return true;
}

void LowerInPlace(char* text) {
  unsigned char* p = reinterpret_cast<unsigned char*>(text);
  while (*p != 0) {
    if (IsLeadByte(*p)) {
      if (p[1] == 0 || !LowerPair(p, p + 1)) return;
      p += 2;
    } else {
      if (*p >= 'A' && *p <= 'Z') *p = static_cast<unsigned char>(*p + ('a' - 'A'));
      ++p;
    }
  }
}

}  // namespace mbcs
