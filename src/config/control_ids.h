// The numbers of the controls of the bar and its dialogs, named once for the
// dialog templates' views, the models and the button dispatch.
#pragma once

namespace control {

// Every dialog's OK (or Close) and Cancel.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// The bar.
inline constexpr int kEditSource = 1000;
inline constexpr int kSelectFile = 1001;
inline constexpr int kCompile = 1002;
inline constexpr int kViewDvi = 1003;
inline constexpr int kMakePdf = 1006;
inline constexpr int kViewPdf = 1008;
inline constexpr int kCommandPrompt = 1009;
inline constexpr int kSettings = 1010;
inline constexpr int kCompileAndMakePdf = 1011;
inline constexpr int kHistory = 1017;

// The Settings dialog's operation buttons, in template order.
inline constexpr int kChooseEditor = 1004;
inline constexpr int kChangeTeX = 32772;
inline constexpr int kChooseBibTeX = 32774;
inline constexpr int kChooseDviPdf = 32775;
inline constexpr int kChooseMkIdx = 32778;
inline constexpr int kMkIdxOptions = 32777;
inline constexpr int kPdfSize = 32776;
inline constexpr int kSettingsOperations[] = {kChooseEditor, kChangeTeX,    kChooseBibTeX, kChooseDviPdf,
                                              kChooseMkIdx,  kMkIdxOptions, kPdfSize};

// The paper size dialog's switches of the question.
inline constexpr int kPdfNShowBox = 1012;   // not this run
inline constexpr int kPdfNeShowBox = 1013;  // never again

// The MakeIndex options dialog.
inline constexpr int kMkIdxNeverBox = 1012;
inline constexpr int kMkIdxOptionsEdit = 1121;

}  // namespace control
