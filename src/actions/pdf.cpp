// The PDF button: make sure there is a .dvi, ask for the paper size unless
// switched off, run the converter, find it when it cannot be started, and
// offer one re-run when it fails (mostly a viewer holding the old PDF).
#include <string>
#include <vector>

#include "actions/pdf_maker.h"
#include "actions/texts.h"
#include "text/mbcs.h"

namespace {

// Index = paper size number. The blanks are harmless: the converter gets the
// words of these strings, never the strings themselves.
constexpr const char* const kPdfSizeOptions[] = {
    " -p a3 ",     // 0 A3
    "",            // 1 A4, the converter's own default
    " -p a5 ",     // 2 A5
    " -p a6 ",     // 3 A6
    " -l ",        // 4 landscape, no paper size
    " -p b3 ",     // 5 B3
    " -p b4 ",     // 6 B4
    " -p  b5",     // 7 B5
    " -p b6 ",     // 8 B6
    " -p b5var ",  // 9 B5var
    " -p letter ", // 10 Letter
    " -p legal ",  // 11 Legal
    " -p ledger ", // 12 Ledger
    " -p tabloid ",// 13 Tabloid
};
constexpr int kPdfSizeCount = static_cast<int>(sizeof kPdfSizeOptions / sizeof kPdfSizeOptions[0]);

}  // namespace

std::string PdfMaker::PdfSizeOption(int sizeNo) {
  if (sizeNo < 0 || sizeNo >= kPdfSizeCount) return std::string();
  return kPdfSizeOptions[sizeNo];
}

int PdfMaker::MakePdf() {
  // Before the compile, the paper size question and any write.
  if (!m_tools.DocumentNameReadable()) return 0;
  int result = 0;
  const std::string dvi = m_doc.Dir() + m_doc.Name() + ".dvi";

  if (!m_env.platform.Stat(dvi).exists) result = m_compiler.Compile();
  // A compile that reported success is trusted even without a .dvi: the
  // converter then fails and says so through the retry question.
  const bool haveDvi = m_env.platform.Stat(dvi).exists || result == 1;

  if (haveDvi && (m_config.Get().m_nPdfNShow != 0 || m_config.PdfSizeExchange(m_env.prompts))) {
    // Every converter run of this call gets the same words, in the same
    // working directory.
    std::vector<std::string> words = mbcs::SplitWords(PdfSizeOption(m_config.Get().m_nPdfSizeNo));
    words.push_back(m_tools.DocumentArgument());
    if (!m_tools.EnterDocumentFolder()) return 0;
    // A failed conversion leaves the compile's result as it was.
    if (Convert(words)) {
      result = 1;
      m_verdict.Succeeded(msg::kPdfMade);
    }
  }

  if (m_config.Get().m_nAcr == 0 && result != 0) m_config.Store(&ToolSettings::m_nAcr, 1);
  return result;
}

void PdfMaker::TellPdfNotMade() {
  m_env.prompts.Notice(msg::kPdfFailureNotice);
  m_verdict.Failed(msg::kPdfFailureNotice, true);
}

bool PdfMaker::Convert(const std::vector<std::string>& words) {
  IPrompts& prompts = m_env.prompts;
  int status = m_tools.RunTool(m_config.Get().m_strDviPdf, words);
  if (status == -1) {
    if (m_tools.NamesProgramFile(m_config.Get().m_strDviPdf)) {
      // A converter the user pinned to a file that will not start: say so,
      // as the BibTeX and index runs do, rather than end in silence.
      TellPdfNotMade();
      return false;
    }
    // A candidate counts as found as soon as it starts; its exit status is
    // judged below like any other run.
    const ToolRunner::Found found = m_tools.ProbeThenPick(
        &ToolSettings::m_strDviPdf, words, true, [this] { return m_tools.ChooseDviPdf() == 1; });
    switch (found.way) {
      case ToolRunner::Found::Way::None:
        m_verdict.Failed(msg::kPdfNotMade, false);
        return false;
      case ToolRunner::Found::Way::Probed:
        m_config.Store(&ToolSettings::m_strDviPdf, found.program);
        status = found.status;
        break;
      case ToolRunner::Found::Way::Picked:
        // The picked converter runs once, as a picked BibTeX or index
        // program does.
        if (found.status == 0) return true;
        TellPdfNotMade();
        return false;
    }
  }

  if (status == 0) return true;
  if (prompts.AskOkCancel(msg::kPdfRetryQuestion) && m_tools.RunTool(m_config.Get().m_strDviPdf, words) == 0) return true;
  TellPdfNotMade();
  if (m_config.Get().m_nAcr == 0) m_tools.ChooseDviPdf();
  return false;
}
