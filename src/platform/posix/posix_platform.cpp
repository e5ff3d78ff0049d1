#include "platform/posix/posix_platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/posix/child_process.h"
#include "platform/posix/headless_console.h"

namespace {

// The window title of a tool run: the program's name and the document it
// works on (the last argument word).
std::string ToolTitle(const std::string& program, const std::vector<std::string>& args) {
  std::size_t slash = program.rfind('/');
  std::string title = slash == std::string::npos ? program : program.substr(slash + 1);
  if (!args.empty() && !args.back().empty()) title += " - " + args.back();
  return title;
}

std::string JoinPath(std::string dir, const std::string& name) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir + name;
}

// Enters a folder for the lifetime of the object and returns to where the
// process was. GIO starts the application from our working directory, and
// the document's folder is the one it must start in.
class WorkingDirScope {
 public:
  explicit WorkingDirScope(const std::string& dir) {
    if (dir.empty()) return;
    m_saved = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_saved >= 0 && ::chdir(dir.c_str()) != 0) {
      ::close(m_saved);
      m_saved = -1;
    }
  }
  ~WorkingDirScope() {
    if (m_saved < 0) return;
    if (::fchdir(m_saved) != 0) {
      // The folder we came from is gone; nothing sensible is left to enter.
    }
    ::close(m_saved);
  }
  WorkingDirScope(const WorkingDirScope&) = delete;
  WorkingDirScope& operator=(const WorkingDirScope&) = delete;

 private:
  int m_saved = -1;
};

// The first bytes of a file, for content sniffing when the name alone is
// not decisive.
std::string Head(const std::string& path, std::size_t size) {
  std::string data(size, '\0');
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::string();
  std::size_t got = 0;
  while (got < size) {
    ssize_t n = ::read(fd, &data[got], size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  data.resize(got);
  return data;
}

// GIO and the libraries it pulls in (gobject, gmodule, libmount, selinux...)
// cost the bar's start-up a good part of its time, and only the first file
// association needs them: they are loaded then. Only the declarations of the
// headers are used here; every call goes through these pointers.
struct Gio {
  decltype(&g_content_type_guess) content_type_guess;
  decltype(&g_app_info_get_default_for_type) app_info_get_default_for_type;
  decltype(&g_free) free;
  decltype(&g_file_new_for_path) file_new_for_path;
  decltype(&g_list_append) list_append;
  decltype(&g_list_free) list_free;
  decltype(&g_app_launch_context_new) app_launch_context_new;
  decltype(&g_app_info_launch) app_info_launch;
  decltype(&g_error_free) error_free;
  decltype(&g_object_unref) object_unref;
};

template <typename F>
bool Bind(void* lib, const char* name, F& out) {
  out = reinterpret_cast<F>(::dlsym(lib, name));
  return out != nullptr;
}

// Loaded once; nullptr when the system has no GIO (no opener then).
const Gio* LoadGio() {
  static const Gio* loaded = [] () -> const Gio* {
    void* lib = ::dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!lib) return nullptr;
    static Gio gio;
    const bool all = Bind(lib, "g_content_type_guess", gio.content_type_guess) &&
                     Bind(lib, "g_app_info_get_default_for_type", gio.app_info_get_default_for_type) &&
                     Bind(lib, "g_free", gio.free) && Bind(lib, "g_file_new_for_path", gio.file_new_for_path) &&
                     Bind(lib, "g_list_append", gio.list_append) && Bind(lib, "g_list_free", gio.list_free) &&
                     Bind(lib, "g_app_launch_context_new", gio.app_launch_context_new) &&
                     Bind(lib, "g_app_info_launch", gio.app_info_launch) &&
                     Bind(lib, "g_error_free", gio.error_free) && Bind(lib, "g_object_unref", gio.object_unref);
    return all ? &gio : nullptr;
  }();
  return loaded;
}

}  // namespace

PosixPlatform::PosixPlatform() : m_values(PosixPlatformValues()), m_console(std::make_shared<HeadlessConsole>()) {}

PosixPlatform::~PosixPlatform() = default;

void PosixPlatform::SetToolConsole(std::shared_ptr<IToolConsole> console) {
  m_console = console ? std::move(console) : std::make_shared<HeadlessConsole>();
}

int PosixPlatform::RunTool(const std::string& program, const std::vector<std::string>& args) {
  std::string resolved = posix::ResolveProgram(program);
  if (resolved.empty()) {
    m_console->Missing(program);
    return -1;
  }
  std::vector<std::string> argv;
  argv.reserve(args.size() + 1);
  argv.push_back(resolved);
  argv.insert(argv.end(), args.begin(), args.end());
  std::string cwd;
  GetCwd(cwd);
  return m_console->Run(argv, ToolTitle(program, args), cwd);
}

bool PosixPlatform::ChangeDir(const std::string& dir) { return !dir.empty() && ::chdir(dir.c_str()) == 0; }

bool PosixPlatform::GetCwd(std::string& out) {
  char buf[PATH_MAX];
  if (!::getcwd(buf, sizeof buf)) return false;
  out = buf;
  return true;
}

FileStatus PosixPlatform::Stat(const std::string& path) {
  FileStatus st;
  struct stat s {};
  if (!path.empty() && ::stat(path.c_str(), &s) == 0) {
    st.exists = true;
    st.mtimeNs = static_cast<std::int64_t>(s.st_mtim.tv_sec) * 1000000000LL + s.st_mtim.tv_nsec;
  }
  return st;
}

bool PosixPlatform::OpenDocument(const std::string& file, const std::string& dir) {
  if (file.empty()) return false;
  std::string path = file;
  if (path[0] != '/') {
    std::string base = dir;
    if (base.empty() && !GetCwd(base)) return false;
    path = JoinPath(base, file);
  }
  // A missing file is a failed open, as the shell reports it, not a viewer
  // started on nothing.
  struct stat s {};
  if (::stat(path.c_str(), &s) != 0 || !S_ISREG(s.st_mode)) return false;

  const Gio* gio = LoadGio();
  if (!gio) return false;
  std::string head = Head(path, 4096);
  gboolean uncertain = FALSE;
  gchar* type = gio->content_type_guess(path.c_str(), reinterpret_cast<const guchar*>(head.data()), head.size(),
                                        &uncertain);
  GAppInfo* app = type ? gio->app_info_get_default_for_type(type, FALSE) : nullptr;
  gio->free(type);
  if (!app) return false;

  GFile* gfile = gio->file_new_for_path(path.c_str());
  GList* files = gio->list_append(nullptr, gfile);
  GAppLaunchContext* context = gio->app_launch_context_new();
  GError* error = nullptr;
  gboolean launched;
  {
    WorkingDirScope scope(dir);
    launched = gio->app_info_launch(app, files, context, &error);
  }
  if (error) gio->error_free(error);
  gio->object_unref(context);
  gio->list_free(files);
  gio->object_unref(gfile);
  gio->object_unref(app);
  return launched != FALSE;
}

bool PosixPlatform::OpenEditor(const std::string& editor, const std::string& documentPath,
                               const std::string& dir) {
  std::vector<std::string> argv{editor};
  if (!documentPath.empty()) argv.push_back(documentPath);
  return posix::SpawnDetached(argv, dir);
}

void PosixPlatform::StartCommandPrompt() {
  const char* terminal = std::getenv("TERMINAL");
  std::string program = terminal && *terminal ? terminal : "x-terminal-emulator";
  posix::SpawnDetached({program}, std::string());
}
