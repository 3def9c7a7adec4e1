// The version record: the variable record at position 0 of every book file. It
// names the publisher and book the file belongs to and the oldest format version
// that can read it.
#pragma once

#include "platform/types.h"

#pragma pack(push, 1)
struct sVersionRecord {
  WORD wRecordLength;   // length of the record in the file, these two bytes included
  WORD wPublisherID;
  WORD wBookID;
  BYTE reserved1[4];    // carried and handed to callers unchanged
  BYTE byLCSMajor;      // least-compatible format version, major
  BYTE byLCSMinor;      // least-compatible format version, minor
  BYTE reserved2[6];    // carried and handed to callers unchanged
};
#pragma pack(pop)

static_assert(sizeof(sVersionRecord) == 18, "sVersionRecord is 18 bytes on disk");
