// Reading a source file, plain or gzip-compressed.
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/exceptions.h"
#include "writer/source_text.h"

namespace orva::writer {

std::string ReadSourceFile(const std::string& path) {
  // zlib's gzip reader passes a file that is not gzip through unchanged.
  const std::unique_ptr<gzFile_s, int (*)(gzFile)> in(gzopen(path.c_str(), "rb"), gzclose);
  if (!in) throw SourceError(path, 0, std::string("cannot be opened: ") + std::strerror(errno));
  gzbuffer(in.get(), 1 << 17);
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const int got = gzread(in.get(), buffer, sizeof buffer);
    if (got < 0) {
      int code = 0;
      const char* message = gzerror(in.get(), &code);
      throw SourceError(path, 0, std::string("cannot be read: ") +
                                     (code == Z_ERRNO ? std::strerror(errno) : message));
    }
    if (got == 0) break;
    AfxAllocating([&] { text.append(buffer, static_cast<size_t>(got)); });
  }
  return text;
}

}  // namespace orva::writer
