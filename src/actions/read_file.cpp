// Reads a tool's output file whole. The compiler or a viewer may still hold
// the file open; stdio opens it without any lock or sharing restriction on
// both systems we build for.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "core/errors.h"
#include "core/mirvan_dlg.h"
#include "platform/files.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

void ReadWholeFile(const std::string& path, std::string& out) {
  FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f) throw FileError(path);
  const long long len = files::FileLength(f.get());
  if (len < 0) throw FileError(path);

  // Read straight into `out`: a log read again and again during one compile
  // reuses the buffer instead of faulting in fresh pages every time.
  try {
    out.resize(static_cast<std::size_t>(len));
  } catch (const std::bad_alloc&) {
    throw MemoryError();
  } catch (const std::length_error&) {
    throw MemoryError();
  }

  // A file that shrank meanwhile gives what is left; one that grows gives
  // the length it had when we looked.
  const std::size_t got = std::fread(&out[0], 1, out.size(), f.get());
  if (got < out.size() && std::ferror(f.get())) throw FileError(path);
  out.resize(got);

  // The text ends at the first NUL, as a C string would.
  if (const void* nul = std::memchr(out.data(), '\0', out.size()))
    out.resize(static_cast<std::size_t>(static_cast<const char*>(nul) - out.data()));
}
