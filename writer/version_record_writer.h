// The version record at the head of every book file, written with any length and
// any field value a test or a tool needs.
#pragma once

#include <cstdint>
#include <vector>

#include "writer/byte_writer.h"

namespace orva::writer {

struct VersionFields {
  std::uint16_t publisherID = 0;
  std::uint16_t bookID = 0;
  std::uint8_t reserved1[4] = {0, 0, 0, 0};
  std::uint8_t lcsMajor = 2;  // least-compatible format version
  std::uint8_t lcsMinor = 0;
  std::uint8_t reserved2[6] = {0, 0, 0, 0, 0, 0};
  // The record length L written in its first field; the record takes L bytes (the
  // 18 bytes of fields cut short, or followed by zeros). L below 2 still writes
  // the two length bytes.
  std::uint16_t length = 18;
};

// Appends the version record to `out`.
void WriteVersionRecord(ByteWriter& out, const VersionFields& fields);
std::vector<std::uint8_t> EncodeVersionRecord(const VersionFields& fields);

}  // namespace orva::writer
