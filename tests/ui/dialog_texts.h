// Texts of the dialogs and of the questions their buttons lead to, as the
// user must see them (the choosers' questions: their first line only).
#pragma once

inline constexpr char kText1012Pdf[] = "次回起動まで。（設定は保持し、次回リセット）";
inline constexpr char kTextNoShow[] = " [PDF] ボタンでは、このダイアログを表示しない。";
inline constexpr char kCaption173[] = "PDF 作成の用紙サイズ";
inline constexpr char kClose137[] = "閉じる";
inline constexpr char kCancel[] = "ｷｬﾝｾﾙ";
inline constexpr char kText1012MkIdx[] = "今後、自動ではこのメッセージを表示しない。";
inline constexpr char kTextSettingsHint[] = " [設定] → [MakeIndex のオプション] でも設定可能";
inline constexpr char kCaption198[] = "MakeIndex のオプション";
inline constexpr char kAboutCaption[] = "Mirvanのﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char kAboutVersion[] = "Mirvan Version 2.9";
inline constexpr char kFileSelect[] = "ﾌｧｲﾙ選択";
inline constexpr char kCmdPrompt[] = "コマンド\nプロンプト";
inline constexpr char kMainTitle[] = "Mirvan: Drag & Drop TeX file";
inline constexpr char kEditorFilter[] = "実行ファイル(*.exe)|*.exe";  // as the scripted prompts record it
inline constexpr char kAskChangeTeX[] = "TeX の compiler を変更します。OK ボタンを押せば実行ファイルが選択できます。";
inline constexpr char kAskBibTeX[] = "BibTeX が実効できない時は、実行ファイルが特定できていない可能性があります。";
inline constexpr char kAskMkIdx[] = "MakeIndex が実効できない時は、実行ファイルが特定できていない可能性があります。";
inline constexpr char kAskDviPdf[] = "もし PDF が作れないときは、OK ボタンを押して実行ファイル dvipdfmx.exe を見つけて選択して下さい。";
