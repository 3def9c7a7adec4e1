// The page of the web reader (web/page/), compiled into the program when it is
// built (web/embed_assets.cmake), so the program serves it without any file.
#pragma once

#include <cstddef>
#include <string>

namespace orva::web {

struct Asset {
  const char* path;  // "/reader.js"; the page itself is "/index.html"
  const char* type;  // its Content-Type
  const unsigned char* data;
  std::size_t size;
};

// The asset served at `path` ("/" is "/index.html"), or null.
const Asset* FindAsset(const std::string& path);

}  // namespace orva::web
