// A source file read as a stream of bytes, decompressed on the way when it is
// gzip- or xz-compressed: which one is told by the file's first bytes, not by
// its name. Large sources (a Bible in XML is tens of megabytes) are parsed as
// they are read, in pieces, and never held whole.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace orva::writer {

class SourceStream {
 public:
  // Opens `path`; raises SourceError naming the file when it cannot be opened.
  explicit SourceStream(const std::string& path);
  ~SourceStream();
  SourceStream(const SourceStream&) = delete;
  SourceStream& operator=(const SourceStream&) = delete;

  // Up to `size` bytes of the (decompressed) source into `buffer`: their number,
  // 0 at the end. Raises SourceError for a file that cannot be read or does not
  // decompress.
  size_t Read(char* buffer, size_t size);
  // The first bytes of the source (at most `size`), which Read then returns again.
  std::string Peek(size_t size);
  // How much of the file has been read, from 0 to 1, for progress reports.
  double Done() const;
  const std::string& Path() const { return m_path; }

 public:
  class Decoder;  // how the file's bytes become the source's

 private:

  std::string m_path;
  long long m_size = 0;  // of the file, 0 when unknown
  std::unique_ptr<Decoder> m_decoder;
  std::string m_peeked;  // returned by Read before anything else
  size_t m_peekedAt = 0;
};

}  // namespace orva::writer
