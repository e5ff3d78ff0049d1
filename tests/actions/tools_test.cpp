#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "actions/texts.h"
#include "actions/tool_rig.h"
#include "text/mbcs.h"

namespace {

std::string Named(const char* text, const std::string& name) { return Expand(text, {{"%s", name}}); }

// ---- LocateTeX: the probe chain of the compiler ----------------------------

struct LocateCase {
  const char* title;
  bool posix;
  std::string tex;
  std::map<std::string, int> starts;
  std::deque<bool> answers;
  std::deque<std::optional<std::string>> picks;
  int result;
  std::vector<std::string> runs;
  // "Q" question, "H" hint, "F" failure text, "P" picker; anything else literal.
  std::vector<std::string> shown;
  std::vector<std::string> writes;
  std::string texAfter;
};

const std::vector<LocateCase>& LocateCases() {
  static const std::vector<LocateCase> cases = {
      {"second folder holds the compiler", false, "platex", {{"c:\\tex\\bin\\platex.exe", 0}}, {}, {}, 1,
       {"c:\\w32tex\\bin\\platex.exe", "c:\\tex\\bin\\platex.exe"}, {},
       {"W Settings/TeX=c:\\tex\\bin\\platex.exe"}, "c:\\tex\\bin\\platex.exe"},
      {"a probe that stops with errors still counts", false, "platex", {{"c:\\w32tex\\bin\\platex.exe", 1}},
       {}, {}, 1, {"c:\\w32tex\\bin\\platex.exe"}, {}, {"W Settings/TeX=c:\\w32tex\\bin\\platex.exe"},
       "c:\\w32tex\\bin\\platex.exe"},
      {"upper-case .EXE is probed, then Cancel resets", false, "C:\\TeX\\bin\\PLATEX.EXE", {}, {false}, {}, 0,
       {"c:\\w32tex\\bin\\C:\\TeX\\bin\\PLATEX.EXE.exe", "c:\\tex\\bin\\C:\\TeX\\bin\\PLATEX.EXE.exe",
        "c:\\usr\\local\\bin\\C:\\TeX\\bin\\PLATEX.EXE.exe"},
       {"Q", "H"}, {"D Settings/TeX"}, "platex"},
      {"a .exe path is not probed; the new pick does not start either", false, "D:\\tex\\platex.exe", {},
       {true}, {std::string("E:\\w32\\bin\\platex.exe")}, 0, {"E:\\w32\\bin\\platex.exe"}, {"Q", "P", "F"},
       {"W Settings/TeX=E:\\w32\\bin\\platex.exe", "W Settings/DviPdf=E:\\w32\\bin\\dvipdfmx",
        "W Settings/Bib=E:\\w32\\bin\\jbibtex", "W Settings/MkIdx=E:\\w32\\bin\\mendex"},
       "E:\\w32\\bin\\platex.exe"},
      {"picked compiler runs", false, "D:\\tex\\platex.exe", {{"E:\\tools\\ptex.exe", 2}}, {true},
       {std::string("E:\\tools\\ptex.exe")}, 1, {"E:\\tools\\ptex.exe"}, {"Q", "P"},
       {"W Settings/TeX=E:\\tools\\ptex.exe"}, "E:\\tools\\ptex.exe"},
      {"file dialog cancelled changes nothing", false, "platex", {}, {true}, {std::nullopt}, 0,
       {"c:\\w32tex\\bin\\platex.exe", "c:\\tex\\bin\\platex.exe", "c:\\usr\\local\\bin\\platex.exe"},
       {"Q", "P", "H"}, {}, "platex"},
      {"POSIX: found in /usr/bin", true, "platex", {{"/usr/bin/platex", 0}}, {}, {}, 1,
       {"/usr/local/bin/platex", "/usr/bin/platex"}, {}, {"W Settings/TeX=/usr/bin/platex"},
       "/usr/bin/platex"},
      {"POSIX: a path is not probed", true, "/opt/tl/bin/platex", {}, {false}, {}, 0, {}, {"Q", "H"},
       {"D Settings/TeX"}, "platex"},
      {"POSIX: a bare name nowhere, picked one runs (uplatex is a platex)", true, "uplatex", {{"/opt/tl/bin/uplatex", 0}}, {true},
       {std::string("/opt/tl/bin/uplatex")}, 1,
       {"/usr/local/bin/uplatex", "/usr/bin/uplatex", "/Library/TeX/texbin/uplatex", "/opt/tl/bin/uplatex"},
       {"Q", "P"},
       {"W Settings/TeX=/opt/tl/bin/uplatex", "W Settings/DviPdf=/opt/tl/bin/dvipdfmx",
        "W Settings/Bib=/opt/tl/bin/pbibtex", "W Settings/MkIdx=/opt/tl/bin/mendex"},
       "/opt/tl/bin/uplatex"},
  };
  return cases;
}

TEST(LocateTeX, ProbeChainTable) {
  for (const LocateCase& c : LocateCases()) {
    SCOPED_TRACE(c.title);
    ToolRig rig(c.posix);
    rig.config.Set(&ToolSettings::m_strTeX, c.tex);
    rig.starts = c.starts;
    rig.prompts.askAnswers = c.answers;
    rig.prompts.picks = c.picks;

    EXPECT_EQ(rig.tools.LocateTeX(), c.result);

    EXPECT_EQ(rig.platform.Programs(), c.runs);
    for (const ToolCall& run : rig.platform.runs) EXPECT_EQ(run.args, std::vector<std::string>{rig.doc.Name()});
    std::vector<std::string> shown;
    for (const std::string& s : c.shown) {
      if (s == "Q") shown.push_back("ask:" + Named(rig.platform.Values().texts.locateTeXQuestion, c.tex));
      else if (s == "H") shown.push_back(std::string("notice:") + msg::kLocateTeXHint);
      else if (s == "F") shown.push_back("notice:" + Named(msg::kLocateTeXFailure, c.tex));
      else if (s == "P") shown.push_back(PickText(rig.platform.Values().programTypes));
      else shown.push_back(s);
    }
    EXPECT_EQ(rig.prompts.shown, shown);
    EXPECT_EQ(rig.profile.log, c.writes);
    EXPECT_EQ(rig.config.Get().m_strTeX, c.texAfter);
  }
}

TEST(LocateTeX, RunsThePickedCompilerInTheDocumentFolder) {
  ToolRig rig(false);
  rig.config.Set(&ToolSettings::m_strTeX, "D:\\tex\\platex.exe");
  rig.starts["E:\\w32\\platex.exe"] = 0;
  rig.prompts.askAnswers = {true};
  rig.prompts.picks = {std::string("E:\\w32\\platex.exe")};

  ASSERT_EQ(rig.tools.LocateTeX(), 1);
  EXPECT_EQ(rig.platform.chdirs, std::vector<std::string>{"C:\\work\\"});
  ASSERT_EQ(rig.platform.runs.size(), 1u);
  EXPECT_EQ(rig.platform.runs[0].cwd, "C:\\work\\");
}

TEST(LocateTeX, TextsKeepNamesWithPercentAndBackslashIntact) {
  ToolRig rig(false);
  rig.config.Set(&ToolSettings::m_strTeX, "D:\\100%s\\platex.exe");
  rig.prompts.askAnswers = {false};
  rig.tools.LocateTeX();
  ASSERT_FALSE(rig.prompts.shown.empty());
  EXPECT_NE(rig.prompts.shown[0].find("\"D:\\100%s\\platex.exe\""), std::string::npos);
}

// ---- ChooseTeX and ChangeTeX --------------------------------------------------

struct ChooseCase {
  const char* title;
  bool posix;
  std::string picked;
  std::string dviPdfBefore;
  std::vector<std::string> writes;
  std::string dviPdf, bib, mkIdx;
};

TEST(ChooseTeX, DerivesCompanionsFromThePickedCompiler) {
  const std::vector<ChooseCase> cases = {
      {"platex", false, "C:\\w32tex\\bin\\platex.exe", "dvipdfmx",
       {"W Settings/TeX=C:\\w32tex\\bin\\platex.exe", "W Settings/DviPdf=C:\\w32tex\\bin\\dvipdfmx",
        "W Settings/Bib=C:\\w32tex\\bin\\jbibtex", "W Settings/MkIdx=C:\\w32tex\\bin\\mendex"},
       "C:\\w32tex\\bin\\dvipdfmx", "C:\\w32tex\\bin\\jbibtex", "C:\\w32tex\\bin\\mendex"},
      {"a converter with a program file stays", false, "C:\\w32tex\\bin\\platex.exe", "D:\\x\\dvipdfmx.exe",
       {"W Settings/TeX=C:\\w32tex\\bin\\platex.exe", "W Settings/Bib=C:\\w32tex\\bin\\jbibtex",
        "W Settings/MkIdx=C:\\w32tex\\bin\\mendex"},
       "D:\\x\\dvipdfmx.exe", "C:\\w32tex\\bin\\jbibtex", "C:\\w32tex\\bin\\mendex"},
      {"latex", false, "C:\\texlive\\bin\\latex.exe", "",
       {"W Settings/TeX=C:\\texlive\\bin\\latex.exe", "W Settings/DviPdf=C:\\texlive\\bin\\dvipdfmx",
        "W Settings/Bib=C:\\texlive\\bin\\bibtex", "W Settings/MkIdx=C:\\texlive\\bin\\makeindex"},
       "C:\\texlive\\bin\\dvipdfmx", "C:\\texlive\\bin\\bibtex", "C:\\texlive\\bin\\makeindex"},
      {"neither", false, "C:\\tools\\ptex.exe", "dvipdfmx", {"W Settings/TeX=C:\\tools\\ptex.exe"}, "dvipdfmx",
       "jbibtex", "mendex"},
      {"folder names count too", false, "C:\\platex-kit\\tex.exe", "dvipdfmx",
       {"W Settings/TeX=C:\\platex-kit\\tex.exe", "W Settings/DviPdf=C:\\platex-kit\\dvipdfmx",
        "W Settings/Bib=C:\\platex-kit\\jbibtex", "W Settings/MkIdx=C:\\platex-kit\\mendex"},
       "C:\\platex-kit\\dvipdfmx", "C:\\platex-kit\\jbibtex", "C:\\platex-kit\\mendex"},
      {"POSIX platex", true, "/opt/texlive/bin/platex", "dvipdfmx",
       {"W Settings/TeX=/opt/texlive/bin/platex", "W Settings/DviPdf=/opt/texlive/bin/dvipdfmx",
        "W Settings/Bib=/opt/texlive/bin/pbibtex", "W Settings/MkIdx=/opt/texlive/bin/mendex"},
       "/opt/texlive/bin/dvipdfmx", "/opt/texlive/bin/pbibtex", "/opt/texlive/bin/mendex"},
      {"POSIX: a converter path stays", true, "/opt/texlive/bin/platex", "/usr/bin/dvipdfmx",
       {"W Settings/TeX=/opt/texlive/bin/platex", "W Settings/Bib=/opt/texlive/bin/pbibtex",
        "W Settings/MkIdx=/opt/texlive/bin/mendex"},
       "/usr/bin/dvipdfmx", "/opt/texlive/bin/pbibtex", "/opt/texlive/bin/mendex"},
      {"POSIX: a .exe name is no program file here", true, "/w/bin/platex", "C:\\x\\dvipdfmx.exe",
       {"W Settings/TeX=/w/bin/platex", "W Settings/DviPdf=/w/bin/dvipdfmx", "W Settings/Bib=/w/bin/pbibtex",
        "W Settings/MkIdx=/w/bin/mendex"},
       "/w/bin/dvipdfmx", "/w/bin/pbibtex", "/w/bin/mendex"},
  };
  for (const ChooseCase& c : cases) {
    SCOPED_TRACE(c.title);
    ToolRig rig(c.posix);
    rig.config.Set(&ToolSettings::m_strDviPdf, c.dviPdfBefore);
    rig.prompts.picks = {c.picked};
    EXPECT_EQ(rig.tools.ChooseTeX(), 1);
    EXPECT_EQ(rig.profile.log, c.writes);
    EXPECT_EQ(rig.config.Get().m_strTeX, c.picked);
    EXPECT_EQ(rig.config.Get().m_strDviPdf, c.dviPdf);
    EXPECT_EQ(rig.config.Get().m_strBib, c.bib);
    EXPECT_EQ(rig.config.Get().m_strMkIdx, c.mkIdx);
    EXPECT_TRUE(rig.platform.runs.empty());
  }
}

TEST(ChooseTeX, OpensTheProgramPickerOfThePlatform) {
  for (bool posix : {false, true}) {
    ToolRig rig(posix);
    rig.tools.ChooseTeX();
    ASSERT_EQ(rig.prompts.pickRequests.size(), 1u);
    const FileRequest& dialog = rig.prompts.pickRequests[0];
    EXPECT_EQ(PickText(dialog.types), posix ? "pick:" : "pick:Exe files (*.exe)|*.exe");
    EXPECT_EQ(dialog.defExt, "");
    EXPECT_EQ(dialog.initialName, "");
    EXPECT_TRUE(dialog.fileMustExist);
    EXPECT_TRUE(dialog.hideReadOnly);
  }
}

TEST(ChooseTeX, CancelledPickChangesNothing) {
  ToolRig rig(false);
  EXPECT_EQ(rig.tools.ChooseTeX(), 0);
  EXPECT_TRUE(rig.profile.log.empty());
  EXPECT_EQ(rig.config.Get().m_strTeX, "platex");
}

TEST(ChooseTeX, DoubleByteTrailIsNoSeparator) {
  // "ソ" in CP932 is 0x83 0x5C: its second byte is a backslash.
  if (mbcs::FindLastOf("\x83\x5C", "\\", mbcs::CodePage::Cp932) != std::string::npos)
    GTEST_SKIP() << "this build's text layer has no double-byte rules yet";
  mbcs::SetSystemCodePage(mbcs::CodePage::Cp932);
  ToolRig rig(false);
  const std::string picked = "C:\\\x83\x5C\\platex\x83\x5C.exe";
  rig.prompts.picks = {picked};
  rig.tools.ChooseTeX();
  mbcs::SetSystemCodePage(mbcs::CodePage::Utf8);
  EXPECT_EQ(rig.config.Get().m_strBib, "C:\\\x83\x5C\\jbibtex");
}

TEST(ChangeTeX, CancelRestoresPlatexOkPicks) {
  {
    ToolRig rig(false);
    rig.config.Set(&ToolSettings::m_strTeX, "C:\\w32tex\\bin\\platex.exe");
    rig.tools.ChangeTeX();
    EXPECT_EQ(rig.prompts.shown, std::vector<std::string>{std::string("ask:") + msg::kChangeTeXQuestion});
    EXPECT_EQ(rig.config.Get().m_strTeX, "platex");
    EXPECT_EQ(rig.profile.log, std::vector<std::string>{"D Settings/TeX"});
  }
  {
    ToolRig rig(false);
    rig.config.Set(&ToolSettings::m_strTeX, "C:\\w32tex\\bin\\platex.exe");
    rig.prompts.askAnswers = {true};
    rig.tools.ChangeTeX();  // the file dialog is cancelled
    EXPECT_EQ(rig.config.Get().m_strTeX, "C:\\w32tex\\bin\\platex.exe");
    EXPECT_TRUE(rig.profile.log.empty());
  }
  {
    ToolRig rig(false);
    rig.prompts.askAnswers = {true};
    rig.prompts.picks = {std::string("C:\\tools\\ptex.exe")};
    rig.tools.ChangeTeX();
    EXPECT_EQ(rig.config.Get().m_strTeX, "C:\\tools\\ptex.exe");
    EXPECT_EQ(rig.profile.log, std::vector<std::string>{"W Settings/TeX=C:\\tools\\ptex.exe"});
  }
}

// ---- The ask-then-pick choosers ----------------------------------------------

using Texts = PlatformValues::ToolTexts;

struct ChooserCol {
  const char* name;
  int (ToolRunner::*choose)();
  TextSetting member;
  const char* key;
  std::string restored;  // empty: the platform's Japanese BibTeX
  const char* PlatformValues::ToolTexts::*question;
};

TEST(Choosers, AskThenPickForEachTool) {
  const std::vector<ChooserCol> cols = {
      {"BibTeX", &ToolRunner::ChooseBibTeX, &ToolSettings::m_strBib, "Bib", "", &Texts::chooseBibTeXQuestion},
      {"MkIdx", &ToolRunner::ChooseMkIdx, &ToolSettings::m_strMkIdx, "MkIdx", "mendex", &Texts::chooseMkIdxQuestion},
      {"DviPdf", &ToolRunner::ChooseDviPdf, &ToolSettings::m_strDviPdf, "DviPdf", "dvipdfmx",
       &Texts::chooseDviPdfQuestion},
  };
  for (const ChooserCol& col : cols) {
    SCOPED_TRACE(col.name);
    auto ask = [&](const ToolRig& rig) { return std::string("ask:") + rig.platform.Values().texts.*col.question; };
    auto restored = [&](const ToolRig& rig) {
      return col.restored.empty() ? rig.platform.Values().japaneseBibTeX : col.restored;
    };
    {  // question answered Cancel: no dialog, default back, key gone
      ToolRig rig(false);
      rig.config.Set(col.member, "D:\\old\\tool.exe");
      EXPECT_EQ((rig.tools.*col.choose)(), 0);
      EXPECT_EQ(rig.prompts.shown, std::vector<std::string>{ask(rig)});
      EXPECT_EQ(rig.config.Get().*col.member, restored(rig));
      EXPECT_EQ(rig.profile.log, std::vector<std::string>{std::string("D Settings/") + col.key});
    }
    {  // the file dialog cancelled: the same reset
      ToolRig rig(true);
      rig.config.Set(col.member, "/old/tool");
      rig.prompts.askAnswers = {true};
      EXPECT_EQ((rig.tools.*col.choose)(), 0);
      EXPECT_EQ(rig.prompts.shown, (std::vector<std::string>{ask(rig), "pick:"}));
      EXPECT_EQ(rig.config.Get().*col.member, restored(rig));
      EXPECT_EQ(rig.profile.log, std::vector<std::string>{std::string("D Settings/") + col.key});
    }
    {  // picked
      ToolRig rig(false);
      rig.prompts.askAnswers = {true};
      rig.prompts.picks = {std::string("E:\\bin\\tool.exe")};
      EXPECT_EQ((rig.tools.*col.choose)(), 1);
      EXPECT_EQ(rig.prompts.shown, (std::vector<std::string>{ask(rig), "pick:Exe files (*.exe)|*.exe"}));
      EXPECT_EQ(rig.config.Get().*col.member, "E:\\bin\\tool.exe");
      EXPECT_EQ(rig.profile.log, std::vector<std::string>{std::string("W Settings/") + col.key + "=E:\\bin\\tool.exe"});
      EXPECT_TRUE(rig.prompts.pickRequests[0].fileMustExist);
      EXPECT_TRUE(rig.prompts.pickRequests[0].hideReadOnly);
    }
  }
}

TEST(Choosers, RestoredNameDoesNotFollowTheCompiler) {
  ToolRig rig(false);
  rig.config.Set(&ToolSettings::m_strTeX, "latex");
  rig.tools.ChooseBibTeX();
  rig.tools.ChooseMkIdx();
  EXPECT_EQ(rig.config.Get().m_strBib, "jbibtex");
  EXPECT_EQ(rig.config.Get().m_strMkIdx, "mendex");
}

}  // namespace

// The texts that tell where programs are: Windows keeps its own, POSIX names
// its probe folders and bare program names.
TEST(PlatformTexts, EachPlatformNamesItsOwnFoldersAndPrograms) {
  using T = PlatformValues::ToolTexts;
  const std::vector<std::pair<const char* T::*, const char*>> fields = {
      {&T::locateTeXQuestion, msg::kLocateTeXQuestion},     {&T::changeTeXQuestion, msg::kChangeTeXQuestion},
      {&T::chooseBibTeXQuestion, msg::kChooseBibTeXQuestion}, {&T::chooseMkIdxQuestion, msg::kChooseMkIdxQuestion},
      {&T::chooseDviPdfQuestion, msg::kChooseDviPdfQuestion}, {&T::bibTeXError, msg::kBibTeXError},
      {&T::bibTeXHint, msg::kBibTeXHint},                   {&T::mkIdxError, msg::kMkIdxError},
      {&T::mkIdxHint, msg::kMkIdxHint},                     {&T::dviOpenFailure, msg::kDviOpenFailure},
  };
  const PlatformValues windows = WindowsPlatformValues(), posix = PosixPlatformValues();
  for (const auto& [field, original] : fields) {
    const std::string w = windows.texts.*field, p = posix.texts.*field;
    EXPECT_EQ(w, original);
    SCOPED_TRACE(p);
    for (const char* foreign : {"C:\\", "C;\\", ".exe", "jbibtex", "jBibTeX"}) EXPECT_EQ(p.find(foreign), std::string::npos);
    if (w.find("C:\\tex\\bin") != std::string::npos) {
      EXPECT_NE(p.find("\"/usr/local/bin\", \"/usr/bin\", \"/Library/TeX/texbin\""), std::string::npos);
    }
  }
  EXPECT_EQ(windows.japaneseBibTeX, "jbibtex");
  EXPECT_EQ(posix.japaneseBibTeX, "pbibtex");
}

// Every action that runs a tool in the document's folder: when that folder
// cannot be entered it says so and runs nothing; a name that begins with '-'
// reaches every tool as ./-name.
struct FolderAction {
  const char* name;
  std::function<void(ToolRig&)> act;
  std::string program;  // what the action runs, by its configured name
};

std::vector<FolderAction> FolderActions() {
  return {
      {"Compile (plain)", [](ToolRig& r) { r.compiler.Compile(); }, "ptex"},
      {"MakePdf", [](ToolRig& r) { r.pdf.MakePdf(); }, "dvipdfmx"},
      {"RunBibTeX", [](ToolRig& r) { r.compiler.RunBibTeX(); }, "jbibtex"},
      {"RunMakeIndex", [](ToolRig& r) { r.compiler.RunMakeIndex(); }, "mendex"},
      {"LocateTeX probes", [](ToolRig& r) { r.tools.LocateTeX(); }, "/usr/bin/ptex"},
  };
}

TEST(DocumentFolder, AFolderThatCannotBeEnteredStopsTheActionWithABox) {
  for (const auto& a : {FolderActions()[0], FolderActions()[1]}) {
    SCOPED_TRACE(a.name);
    ToolRig rig(true);
    rig.config.Set(&ToolSettings::m_strTeX, "ptex");
    rig.config.Set(&ToolSettings::m_nPdfNShow, 1);
    rig.platform.files[rig.doc.Dir() + rig.doc.Name() + ".dvi"] = 1;
    rig.starts[a.program] = 0;
    rig.platform.chdirFails = true;
    a.act(rig);
    EXPECT_TRUE(rig.platform.runs.empty());
    EXPECT_EQ(rig.prompts.shown, std::vector<std::string>{"box:|stop|フォルダに移動できません: /home/u/論文 2/"});
  }
}

TEST(DocumentFolder, ANameBeginningWithADashReachesEveryToolAsAPath) {
  for (const auto& a : FolderActions()) {
    SCOPED_TRACE(a.name);
    ToolRig rig(true);
    rig.config.Set(&ToolSettings::m_strTeX, "ptex");
    rig.doc.SetFile(rig.doc.Dir() + "-ini.tex");
    rig.config.Set(&ToolSettings::m_nPdfNShow, 1);
    rig.platform.files[rig.doc.Dir() + "-ini.dvi"] = 1;
    rig.starts[a.program] = 0;
    a.act(rig);
    ASSERT_FALSE(rig.platform.runs.empty());
    EXPECT_EQ(rig.platform.runs.back().program, a.program);
    EXPECT_EQ(rig.platform.runs.back().args.back(), "./-ini");
  }
}
