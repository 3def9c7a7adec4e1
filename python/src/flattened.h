// Checks of flattened buffers that come from Python. The library's loaders trust
// their buffer to hold everything its lengths promise; these refuse, with
// ValueError, a buffer that does not, before it reaches them.
#pragma once

#include <string>

namespace orvada_python {

// One flattened section record (cSectionsData::Load): 42 + L bytes at least.
void CheckFlattenedSection(const std::string& buffer);
// A flattened section array (cORVABookBase::LoadSectionsArray): the count, then
// per record its length and a record of that length.
void CheckFlattenedSections(const std::string& buffer);
// A flattened string array (cORVABookBase::LoadCStringArray): its 8 + m bytes.
void CheckFlattenedStrings(const std::string& buffer);

}  // namespace orvada_python
