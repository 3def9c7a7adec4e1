// The range of stored words that a packaged sync key can match: its lowest and its
// highest 8-bit form under the byte order of the sync indexes.
#pragma once

#include <string>

#include "platform/arrays.h"
#include "platform/cstring.h"

namespace orva {

// Builds the two forms of a key given as its tagged part and alternatives (the
// pieces of UnpackageAmbiguity). Without alternatives both are `tagged`.
// Otherwise:
// - the lowest form replaces each placeholder (0xAD) by the lowest byte of its
//   alternatives entry, never above 0xAD; the highest form by the highest byte,
//   0 for none. A placeholder without an entry counts as one with an empty entry:
//   0xAD in the lowest form, a zero byte in the highest, which then ends there for
//   every comparison.
// - one left-to-right pass over the characters of the lowest form (converted once
//   with TaggedStringToLang) finds each pair of adjacent combining marks; where the
//   first of them lies at byte p, bytes p and p+1 are swapped in the lowest form
//   when they descend and in the highest form when they ascend (as unsigned bytes).
//   The byte positions are those of the lowest form as built, before the pass,
//   which keeps the pass linear in the key; they differ from positions taken
//   during the pass only when a swap moves the '<' of a language tag that lies
//   between two marks.
void SyncKeyBounds(const CString& tagged, const CStringArray& alternatives, std::string& low, std::string& high);

}  // namespace orva
