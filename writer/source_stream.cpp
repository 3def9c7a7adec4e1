#include "writer/source_stream.h"

#include <lzma.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/exceptions.h"
#include "writer/source_text.h"

namespace orva::writer {

namespace {

constexpr unsigned char kXzMagic[] = {0xFD, '7', 'z', 'X', 'Z', 0x00};
constexpr unsigned char kGzipMagic[] = {0x1F, 0x8B};

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

[[noreturn]] void Fail(const std::string& path, const std::string& what) { throw SourceError(path, 0, what); }

std::string Errno() { return std::strerror(errno); }

}  // namespace

class SourceStream::Decoder {
 public:
  virtual ~Decoder() = default;
  virtual size_t Read(char* buffer, size_t size) = 0;
  virtual long long Consumed() const = 0;  // bytes of the file read so far
};

namespace {

// A file that is neither gzip nor xz, read as it is, from after the `consumed`
// bytes that the stream has already read.
class PlainDecoder : public SourceStream::Decoder {
 public:
  PlainDecoder(const std::string& path, File file, long long consumed)
      : m_path(path), m_file(std::move(file)), m_consumed(consumed) {}

  size_t Read(char* buffer, size_t size) override {
    const size_t got = std::fread(buffer, 1, size, m_file.get());
    if (got == 0 && std::ferror(m_file.get())) Fail(m_path, "cannot be read: " + Errno());
    m_consumed += static_cast<long long>(got);
    return got;
  }
  long long Consumed() const override { return m_consumed; }

 private:
  const std::string& m_path;
  File m_file;
  long long m_consumed;
};

class GzipDecoder : public SourceStream::Decoder {
 public:
  // `size`: the file's, 0 when unknown. The buffer (zlib takes it once for the
  // file and twice for its output) is 128 KiB, or as large as a smaller file.
  GzipDecoder(const std::string& path, long long size) : m_path(path), m_file(gzopen(path.c_str(), "rb")) {
    if (!m_file) Fail(path, "cannot be opened: " + Errno());
    constexpr long long kLargest = 1 << 17, kSmallest = 1 << 12;
    gzbuffer(m_file, static_cast<unsigned>(size > 0 ? std::clamp(size, kSmallest, kLargest) : kLargest));
  }
  ~GzipDecoder() override { gzclose(m_file); }

  size_t Read(char* buffer, size_t size) override {
    const int got = gzread(m_file, buffer, static_cast<unsigned>(std::min<size_t>(size, 1 << 30)));
    if (got < 0) {
      int code = 0;
      const char* message = gzerror(m_file, &code);
      Fail(m_path, std::string("cannot be read: ") + (code == Z_ERRNO ? Errno() : message));
    }
    return static_cast<size_t>(got);
  }
  long long Consumed() const override { return gzoffset(m_file); }

 private:
  const std::string& m_path;
  gzFile m_file;
};

// `head`: the first bytes of the file, which the stream has already read.
class XzDecoder : public SourceStream::Decoder {
 public:
  XzDecoder(const std::string& path, File file, const std::string& head)
      : m_path(path), m_file(std::move(file)), m_in(1 << 16), m_consumed(static_cast<long long>(head.size())) {
    const lzma_ret started = lzma_stream_decoder(&m_stream, UINT64_MAX, LZMA_CONCATENATED);
    if (started == LZMA_MEM_ERROR) AfxThrowMemoryException();
    if (started != LZMA_OK) Fail(path, "cannot be decompressed (xz)");
    std::copy(head.begin(), head.end(), m_in.begin());
    m_stream.next_in = m_in.data();
    m_stream.avail_in = head.size();
  }
  ~XzDecoder() override { lzma_end(&m_stream); }

  size_t Read(char* buffer, size_t size) override {
    if (m_ended || size == 0) return 0;
    m_stream.next_out = reinterpret_cast<std::uint8_t*>(buffer);
    m_stream.avail_out = size;
    while (m_stream.avail_out == size) {
      lzma_action action = LZMA_RUN;
      if (m_stream.avail_in == 0) {
        const size_t got = std::fread(m_in.data(), 1, m_in.size(), m_file.get());
        if (got == 0 && std::ferror(m_file.get())) Fail(m_path, "cannot be read: " + Errno());
        m_consumed += static_cast<long long>(got);
        m_stream.next_in = m_in.data();
        m_stream.avail_in = got;
        if (got == 0) action = LZMA_FINISH;
      }
      const lzma_ret result = lzma_code(&m_stream, action);
      if (result == LZMA_STREAM_END) {
        m_ended = true;
        break;
      }
      if (result == LZMA_MEM_ERROR) AfxThrowMemoryException();
      if (result != LZMA_OK) {
        Fail(m_path, result == LZMA_BUF_ERROR ? "ends before its xz data does" : "is damaged: its xz data does not decompress");
      }
    }
    return size - m_stream.avail_out;
  }
  long long Consumed() const override { return m_consumed; }

 private:
  const std::string& m_path;
  File m_file;
  std::vector<std::uint8_t> m_in;
  lzma_stream m_stream = LZMA_STREAM_INIT;
  long long m_consumed;
  bool m_ended = false;
};

bool StartsWith(const std::string& head, const unsigned char* magic, size_t size) {
  return head.size() >= size && std::memcmp(head.data(), magic, size) == 0;
}

}  // namespace

// The file is opened once (gzip data aside, which zlib opens again): its first
// bytes tell how to read it, and a plain file's are the first the stream returns.
SourceStream::SourceStream(const std::string& path) : m_path(path) {
  File file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) Fail(path, "cannot be opened: " + Errno());
  struct stat info {};
  if (::fstat(fileno(file.get()), &info) == 0) m_size = static_cast<long long>(info.st_size);
  char head[sizeof kXzMagic];
  const size_t got = std::fread(head, 1, sizeof head, file.get());
  if (got == 0 && std::ferror(file.get())) Fail(path, "cannot be read: " + Errno());
  const std::string first(head, got);
  if (StartsWith(first, kXzMagic, sizeof kXzMagic)) {
    m_decoder = std::make_unique<XzDecoder>(m_path, std::move(file), first);
  } else if (StartsWith(first, kGzipMagic, sizeof kGzipMagic)) {
    file.reset();
    m_decoder = std::make_unique<GzipDecoder>(m_path, m_size);
  } else {
    m_decoder = std::make_unique<PlainDecoder>(m_path, std::move(file), static_cast<long long>(got));
    m_peeked = first;
  }
}

SourceStream::~SourceStream() = default;

size_t SourceStream::Read(char* buffer, size_t size) {
  if (m_peekedAt < m_peeked.size()) {
    const size_t n = std::min(size, m_peeked.size() - m_peekedAt);
    std::memcpy(buffer, m_peeked.data() + m_peekedAt, n);
    m_peekedAt += n;
    return n;
  }
  return m_decoder->Read(buffer, size);
}

std::string SourceStream::Peek(size_t size) {
  while (m_peeked.size() - m_peekedAt < size) {
    char buffer[4096];
    const size_t got = m_decoder->Read(buffer, std::min(sizeof buffer, size - (m_peeked.size() - m_peekedAt)));
    if (got == 0) break;
    m_peeked.append(buffer, got);
  }
  return m_peeked.substr(m_peekedAt, size);
}

double SourceStream::Done() const {
  return m_size > 0 ? std::min(1.0, static_cast<double>(m_decoder->Consumed()) / static_cast<double>(m_size)) : 0.0;
}

std::string ReadSourceFile(const std::string& path) {
  SourceStream in(path);
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const size_t got = in.Read(buffer, sizeof buffer);
    if (got == 0) break;
    AfxAllocating([&] { text.append(buffer, got); });
  }
  return text;
}

}  // namespace orva::writer
