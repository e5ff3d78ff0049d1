// The PDF button: make sure there is a .dvi, ask for the paper size unless
// switched off, run the converter, find it when it cannot be started, and
// offer one re-run when it fails (mostly a viewer holding the old PDF).
#include <string>
#include <vector>

#include "actions/tool_names.h"
#include "core/mirvan_dlg.h"
#include "text/mbcs.h"

namespace {

constexpr const char kPdfRetryQuestion[] = "PDF file が作れません！\n もし Acrobat (Adobe Reader) が起動中なら \n閉じてから、「OK」ボタンを下さい。";
constexpr const char kPdfFailureNotice[] = "PDF file が作れません！";
// The console's last line after a conversion that made no PDF.
constexpr const char kPdfNotMade[] = "PDF ファイルができませんでした。";

void TellPdfNotMade(CMirvanDlg& dlg) {
  dlg.Platform().NoteFailure(kPdfNotMade);
  dlg.Prompts().Notice(kPdfFailureNotice);
}

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

std::string CMirvanDlg::PdfSizeOption(int sizeNo) {
  if (sizeNo < 0 || sizeNo >= kPdfSizeCount) return std::string();
  return kPdfSizeOptions[sizeNo];
}

int CMirvanDlg::MakePdf() {
  int result = 0;
  const std::string dvi = m_strDir + m_strName + ".dvi";

  if (!Platform().Stat(dvi).exists) result = Compile();
  // A compile that reported success is trusted even without a .dvi: the
  // converter then fails and says so through the retry question.
  const bool haveDvi = Platform().Stat(dvi).exists || result == 1;

  if (haveDvi && (m_nPdfNShow != 0 || PdfSizeExchange())) {
    // Every converter run of this call gets the same words, in the same
    // working directory.
    std::vector<std::string> words = mbcs::SplitWords(PdfSizeOption(m_nPdfSizeNo));
    words.push_back(DocumentArgument());

    if (!EnterDocumentFolder()) return 0;
    int status = RunTool(m_strDviPdf, words);
    bool judge = true;

    if (status == -1) {
      judge = false;
      if (NamesProgramFile(m_strDviPdf)) {
        // A converter the user pinned to a file that will not start: say so,
        // as the BibTeX and index runs do, rather than end in silence.
        TellPdfNotMade(*this);
      } else {
        // A candidate counts as found as soon as it starts; its exit status
        // is judged below like any other run.
        const PlatformValues& values = Platform().Values();
        for (const std::string& folder : values.probeFolders) {
          const std::string candidate = folder + m_strDviPdf + values.probeSuffix;
          status = RunTool(candidate, words);
          if (status != -1) {
            m_strDviPdf = candidate;
            Profile().WriteProfileString(tool::kSection, tool::kKeyDviPdf, m_strDviPdf);
            judge = true;
            break;
          }
        }
        if (!judge && ChooseDviPdf() == 1) {
          // Run the picked converter once, as the BibTeX and index runs run
          // a picked program; the file dialog may have moved the working
          // directory.
          if (!EnterDocumentFolder()) {
          } else if (RunTool(m_strDviPdf, words) == 0) {
            result = 1;
          } else {
            TellPdfNotMade(*this);
          }
        }
      }
    }

    if (judge) {
      if (status == 0) {
        result = 1;
      } else {
        if (Prompts().AskOkCancel(kPdfRetryQuestion) && RunTool(m_strDviPdf, words) == 0) {
          result = 1;
        } else {
          TellPdfNotMade(*this);
          if (m_nAcr == 0) ChooseDviPdf();
        }
      }
    }
  }

  if (m_nAcr == 0 && result != 0) {
    m_nAcr = 1;
    Profile().WriteProfileInt(tool::kSection, "Acr", 1);
  }
  return result;
}
