// Every text of the platform layer, byte for byte as users know them
// (UTF-8 here; "\n" is a line break, every other backslash a literal one):
// those that name program files and the folders they are in, the consoles'
// lines around a tool's output, and what both bars say about a settings
// file they cannot use.
#pragma once

#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/files.h"

// The texts that name program files and the folders they are in: Windows
// keeps its own byte for byte, POSIX says the same with its probe folders,
// bare program names and TeX Live's Japanese BibTeX.
namespace msg {

inline constexpr char kLocateTeXQuestion[] =
    "TeX のコンパイラー \"%s\" が実行できません。パスが通ってない可能性があります。\nもし TeX をインストールしているなら、自分で選択してください。\nキャンセルすれば、デフォルトに戻ります。（パス名無しの \"platex\" のみ）\nTeX は \"C:\\tex\\bin\", \"C:\\usr\\local\\bin\" などにあるでしょう。";
inline constexpr char kChangeTeXQuestion[] =
    "TeX の compiler を変更します。OK ボタンを押せば実行ファイルが選択できます。\nキャンセルすれば、元の platex に戻ります。（パス名無しの \"platex\" のみ）\n他の TeX は \"C:\\tex\\bin\", \"C:\\usr\\local\\bin\" 等に・・・。";
inline constexpr char kChooseBibTeXQuestion[] =
    "BibTeX が実効できない時は、実行ファイルが特定できていない可能性があります。\n選択により、フルパスで jbibtex.exe を特定します。\nキャンセルすれば、デフォルトに戻ります。（パス名無しの \"jbibtex\" のみ）\njBibTeX は \"C:\\tex\\bin\", \"C:\\usr\\local\\bin\" 等に・・・。";
inline constexpr char kChooseMkIdxQuestion[] =
    "MakeIndex が実効できない時は、実行ファイルが特定できていない可能性があります。\n選択により、フルパスで mendex.exe を特定します。\nキャンセルすれば、デフォルトに戻ります。（パス名無しの \"mendex\" のみ）";
inline constexpr char kChooseDviPdfQuestion[] =
    "もし PDF が作れないときは、OK ボタンを押して実行ファイル dvipdfmx.exe を見つけて選択して下さい。\n恐らく、\"C:\\tex\\bin\", \"C:\\usr\\local\\bin\" 等に・・・。\nキャンセルすれば、パス名無しの dvipdfmx のみに戻ります。";
inline constexpr char kBibTeXError[] =
    "何かエラーがあります。実行ファイル \"jbibtex.exe\" を \"bibtex.exe\" にしてしまったとか。\nDVI ファイルの参考文献の欄も確かめてみて下さい。";
inline constexpr char kBibTeXHint[] =
    "BibTeX (\"jbibtex.exe\") は「設定」→「BibTeX の選択」からも選択できます。\nそれでも駄目なら「コマンドプロンプト」を使って、直接、実行して下さい。";
inline constexpr char kMkIdxError[] =
    "何かエラーがあります。実行ファイル \"mendex.exe\" を \"makeindex.exe\" にしてしまったとか。";
inline constexpr char kMkIdxHint[] =
    "MakeIndex (\"mendex.exe\") は「設定」の「makeIndex の選択」からも選択できます。\nそれでも駄目なら「コマンドプロンプト」を使って、直接、実行して下さい。";
// The DVI text's "C;" is how users have always seen it.
inline constexpr char kDviOpenFailure[] =
    "DVI ファイルが開けません。ファイルを dviout に関連付けして下さい。\ndviout.exe は C:\\dviout や C:\\w32tex\\dviout, C;\\tex\\dviout などにあるでしょう。";
// A batch file cannot be given a word safely (Windows only): %1 the batch
// file, %2 the word, %3 what in it cmd.exe would act on.
inline constexpr char kBatchWordRefused[] =
    "バッチファイル \"%1\" に \"%2\" を渡すことはできません（%3 は cmd.exe が別の意味に読みます）。何も実行しませんでした。\n文書の名前やオプションを変えるか、「設定」で .exe のプログラムを選んで下さい。";
inline constexpr char kBatchPercent[] = "「%」";
inline constexpr char kBatchQuote[] = "「\"」";
inline constexpr char kBatchLineBreak[] = "改行";
inline constexpr char kBatchBrokenCharacter[] = "途中で切れた2バイト文字";
// The file types of the open-file dialog on Windows: the tool choosers',
// and the editor chooser's.
inline constexpr char kExeFiles[] = "Exe files (*.exe)";
inline constexpr char kExecutableFiles[] = "実行ファイル(*.exe)";
// The same texts on POSIX: the probe folders there, programs without ".exe",
// and TeX Live's Japanese BibTeX, pbibtex.
namespace posix {

inline constexpr char kLocateTeXQuestion[] =
    "TeX のコンパイラー \"%s\" が実行できません。パスが通ってない可能性があります。\nもし TeX をインストールしているなら、自分で選択してください。\nキャンセルすれば、デフォルトに戻ります。（パス名無しの \"platex\" のみ）\nTeX は \"/usr/local/bin\", \"/usr/bin\", \"/Library/TeX/texbin\" などにあるでしょう。";
inline constexpr char kChangeTeXQuestion[] =
    "TeX の compiler を変更します。OK ボタンを押せば実行ファイルが選択できます。\nキャンセルすれば、元の platex に戻ります。（パス名無しの \"platex\" のみ）\n他の TeX は \"/usr/local/bin\", \"/usr/bin\", \"/Library/TeX/texbin\" 等に・・・。";
inline constexpr char kChooseBibTeXQuestion[] =
    "BibTeX が実効できない時は、実行ファイルが特定できていない可能性があります。\n選択により、フルパスで pbibtex を特定します。\nキャンセルすれば、デフォルトに戻ります。（パス名無しの \"pbibtex\" のみ）\npBibTeX は \"/usr/local/bin\", \"/usr/bin\", \"/Library/TeX/texbin\" 等に・・・。";
inline constexpr char kChooseMkIdxQuestion[] =
    "MakeIndex が実効できない時は、実行ファイルが特定できていない可能性があります。\n選択により、フルパスで mendex を特定します。\nキャンセルすれば、デフォルトに戻ります。（パス名無しの \"mendex\" のみ）";
inline constexpr char kChooseDviPdfQuestion[] =
    "もし PDF が作れないときは、OK ボタンを押して実行ファイル dvipdfmx を見つけて選択して下さい。\n恐らく、\"/usr/local/bin\", \"/usr/bin\", \"/Library/TeX/texbin\" 等に・・・。\nキャンセルすれば、パス名無しの dvipdfmx のみに戻ります。";
inline constexpr char kBibTeXError[] =
    "何かエラーがあります。実行ファイル \"pbibtex\" を \"bibtex\" にしてしまったとか。\nDVI ファイルの参考文献の欄も確かめてみて下さい。";
inline constexpr char kBibTeXHint[] =
    "BibTeX (\"pbibtex\") は「設定」→「BibTeX の選択」からも選択できます。\nそれでも駄目なら「コマンドプロンプト」を使って、直接、実行して下さい。";
inline constexpr char kMkIdxError[] =
    "何かエラーがあります。実行ファイル \"mendex\" を \"makeindex\" にしてしまったとか。";
inline constexpr char kMkIdxHint[] =
    "MakeIndex (\"mendex\") は「設定」の「makeIndex の選択」からも選択できます。\nそれでも駄目なら「コマンドプロンプト」を使って、直接、実行して下さい。";
// dviout is a Windows program: here the desktop's DVI viewers are named.
inline constexpr char kDviOpenFailure[] =
    "DVI ファイルが開けません。DVI ファイルを開くアプリケーションを関連付けして下さい。\nxdvi や Evince, Okular などが DVI ファイルを表示できます。";

// GIO finds the application for a file; followed by the loader's reason.
inline constexpr char kGioMissing[] =
    "ファイルを開くアプリケーションを調べるライブラリ libgio-2.0.so.0 を読み込めません。\nGLib（Debian では libglib2.0-0 パッケージ）をインストールしてください。";

}  // namespace posix

}  // namespace msg

// The consoles' own lines around a tool's output: what was started where,
// and how it ended.
namespace tool_text {

inline std::string BaseName(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "▶ /usr/bin/platex paper  （フォルダ /home/u/doc）"
inline std::string Header(const std::vector<std::string>& argv, const std::string& dir) {
  std::string line = "▶";
  for (const std::string& word : argv) line += " " + word;
  if (!dir.empty()) line += "  （フォルダ " + dir + "）";
  return line;
}

inline std::string Exited(const std::string& program, int status) {
  return BaseName(program) + " は終了コード " + std::to_string(status) +
         " で終わりました。";
}

inline std::string EndedBySignal(const std::string& program, int sig) {
  return BaseName(program) + " はシグナル " + SignalName(sig) + " (" + std::to_string(sig) +
         ") で終了しました。";
}

inline std::string Missing(const std::string& program) {
  return "プログラム " + program +
         " が見つかりません。";
}

inline std::string Stopped(const std::string& program) {
  return BaseName(program) + " を停止しました。";
}

}  // namespace tool_text

// What both bars say, once, about a settings file they cannot use; the path
// is put in as it is (the system code page).
namespace settings_text {

inline std::string Unreadable(const std::string& path, files::ReadStatus why) {
  const char* reason = "読み取れません";
  if (why == files::ReadStatus::NotAFile) reason = "通常のファイルではありません";
  if (why == files::ReadStatus::TooBig) reason = "16 MB を超えています";
  return "設定ファイル " + path + " を読み込めません（" + reason +
         "）。\n既定の設定で動きます。設定と履歴はこのファイルに保存されません。";
}

}  // namespace settings_text
