#include "platform/posix/posix_platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/file_watch.h"
#include "platform/posix/child_process.h"
#include "platform/posix/headless_console.h"
#include "platform/texts.h"

namespace {

// The window title of a tool run: the program's name and the document it
// works on (the last argument word).
std::string ToolTitle(const std::string& program, const std::vector<std::string>& args) {
  std::string title = tool_text::BaseName(program);
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

// The desktop's associations come from GIO, which is loaded when a document
// is first opened: the bar starts without it and its half a dozen
// libraries, and most runs of the bar never open anything.
#define MIRVAN_GIO_CALLS(X)                                                                              \
  X(g_app_info_get_id) X(g_app_info_get_executable) X(g_app_info_get_default_for_type)                  \
  X(g_app_info_get_recommended_for_type) X(g_app_info_launch) X(g_app_launch_context_new)             \
  X(g_content_type_guess) X(g_file_new_for_path) X(g_object_ref) X(g_object_unref) X(g_list_free_full) \
  X(g_error_free) X(g_free) X(g_app_info_get_commandline) X(g_shell_parse_argv) X(g_strfreev)

struct Gio {
#define MIRVAN_GIO_MEMBER(name) decltype(&::name) name = nullptr;
  MIRVAN_GIO_CALLS(MIRVAN_GIO_MEMBER)
#undef MIRVAN_GIO_MEMBER
};

// Why GIO could not be loaded, once it was tried; empty while it can be.
std::string g_gioTrouble;

// Null when GIO cannot be loaded: then no document has an application.
const Gio* LoadGio() {
  static const Gio* const loaded = []() -> const Gio* {
    void* lib = ::dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
      const char* why = ::dlerror();
      g_gioTrouble = std::string(msg::posix::kGioMissing) + (why ? std::string("\n") + why : std::string());
      return nullptr;
    }
    static Gio gio;
    bool all = true;
#define MIRVAN_GIO_LOAD(name)                                                 \
  gio.name = reinterpret_cast<decltype(&::name)>(::dlsym(lib, #name)); \
  all = all && gio.name;
    MIRVAN_GIO_CALLS(MIRVAN_GIO_LOAD)
#undef MIRVAN_GIO_LOAD
    if (!all) g_gioTrouble = msg::posix::kGioMissing;
    return all ? &gio : nullptr;
  }();
  return loaded;
}

// This program's own desktop entry, or another entry that starts it.
bool IsOurOwnApp(const Gio& gio, GAppInfo* app) {
  const char* id = gio.g_app_info_get_id(app);
  if (id && std::string(id) == "mirvan.desktop") return true;
  const char* exe = gio.g_app_info_get_executable(app);
  if (!exe) return false;
  const std::string name = tool_text::BaseName(exe);
  return name == "mirvan" || name == "mirvan-desktop";
}

// The desktop's editor for TeX sources: the default application for TeX
// sources, else the next one offered for them, else the same for plain
// text; never this program itself, which a user may have made the default
// for TeX sources and which would only open a second bar. Null when none.
GAppInfo* TeXEditorApp(const Gio& gio) {
  for (const char* type : {"text/x-tex", "text/plain"}) {
    GAppInfo* def = gio.g_app_info_get_default_for_type(type, FALSE);
    if (def && !IsOurOwnApp(gio, def)) return def;
    if (def) gio.g_object_unref(def);
    GList* apps = gio.g_app_info_get_recommended_for_type(type);
    GAppInfo* found = nullptr;
    for (GList* l = apps; l; l = l->next) {
      auto* app = static_cast<GAppInfo*>(l->data);
      if (!found && !IsOurOwnApp(gio, app)) found = static_cast<GAppInfo*>((gio.g_object_ref)(app));
    }
    gio.g_list_free_full(apps, gio.g_object_unref);
    if (found) return found;
  }
  return nullptr;
}

// A desktop entry's command line as words, without the placeholders for
// the files and the entry's own icon, name and location ("%F", "%u", ...);
// "%%" is a percent sign.
std::vector<std::string> EntryWords(const Gio& gio, GAppInfo* app) {
  std::vector<std::string> words;
  const char* line = gio.g_app_info_get_commandline(app);
  gchar** argv = nullptr;
  if (line && gio.g_shell_parse_argv(line, nullptr, &argv, nullptr) && argv) {
    for (gchar** w = argv; *w; ++w) {
      std::string word = *w;
      if (word.size() == 2 && word[0] == '%') continue;
      for (std::size_t p = word.find("%%"); p != std::string::npos; p = word.find("%%", p + 1)) word.erase(p, 1);
      words.push_back(word);
    }
    gio.g_strfreev(argv);
  }
  if (words.empty()) {
    const char* exe = gio.g_app_info_get_executable(app);
    if (exe && *exe) words.push_back(exe);
  }
  return words;
}

// Starts `app` on the file at `path`, in folder `dir` (when not empty).
bool LaunchWith(const Gio& gio, GAppInfo* app, const std::string& path, const std::string& dir) {
  GFile* gfile = gio.g_file_new_for_path(path.c_str());
  GList files{gfile, nullptr, nullptr};
  GAppLaunchContext* context = gio.g_app_launch_context_new();
  GError* error = nullptr;
  gboolean launched;
  {
    WorkingDirScope scope(dir);
    launched = gio.g_app_info_launch(app, &files, context, &error);
  }
  if (error) gio.g_error_free(error);
  gio.g_object_unref(context);
  gio.g_object_unref(gfile);
  return launched != FALSE;
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
  m_openTrouble.clear();
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
  if (!gio) {
    m_openTrouble = g_gioTrouble;
    return false;
  }
  std::string head = Head(path, 4096);
  gboolean uncertain = FALSE;
  gchar* type = gio->g_content_type_guess(path.c_str(), reinterpret_cast<const guchar*>(head.data()),
                                          head.size(), &uncertain);
  GAppInfo* app = type ? gio->g_app_info_get_default_for_type(type, FALSE) : nullptr;
  gio->g_free(type);
  if (!app) return false;
  const bool launched = LaunchWith(*gio, app, path, dir);
  gio->g_object_unref(app);
  return launched;
}

bool PosixPlatform::OpenEditor(const std::string& editor, const std::string& documentPath,
                               const std::string& dir) {
  m_openTrouble.clear();
  if (editor == m_values.defaultEditor && !documentPath.empty()) {
    // The default editor is the desktop's association for the source,
    // looked up here rather than by xdg-open so that it is never this
    // program itself.
    std::string path = documentPath;
    if (path[0] != '/') {
      std::string cwd;
      if (GetCwd(cwd)) path = JoinPath(cwd, path);
    }
    const Gio* gio = LoadGio();
    if (!gio) m_openTrouble = g_gioTrouble;
    GAppInfo* app = gio ? TeXEditorApp(*gio) : nullptr;
    if (!app) return false;
    const bool launched = LaunchWith(*gio, app, path, dir);
    gio->g_object_unref(app);
    return launched;
  }
  std::vector<std::string> argv{editor};
  if (!documentPath.empty()) argv.push_back(documentPath);
  return posix::SpawnDetached(argv, dir);
}

std::string PosixPlatform::OpenTrouble() const { return m_openTrouble; }

bool PosixPlatform::StartDetached(const std::vector<std::string>& argv, const std::string& dir) {
  return posix::SpawnDetached(argv, dir);
}

std::vector<std::string> PosixPlatform::DesktopEditor() {
  const Gio* gio = LoadGio();
  GAppInfo* app = gio ? TeXEditorApp(*gio) : nullptr;
  if (!app) return {};
  std::vector<std::string> words = EntryWords(*gio, app);
  gio->g_object_unref(app);
  return words;
}

void PosixPlatform::StartCommandPrompt() {
  const char* terminal = std::getenv("TERMINAL");
  std::string program = terminal && *terminal ? terminal : "x-terminal-emulator";
  posix::SpawnDetached({program}, std::string());
}

std::unique_ptr<IFileWatch> PosixPlatform::MakeFileWatch() { return ::MakeFileWatch(); }
