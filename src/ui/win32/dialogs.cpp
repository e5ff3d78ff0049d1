#include "ui/win32/dialogs.h"

#include <vector>

#include "config/resource_ids.h"
#include "ui/win32/caption_fit.h"

namespace win32dlg {
namespace {

constexpr int kBoxNShow = control::kPdfNShowBox;
constexpr int kBoxNeShow = control::kPdfNeShowBox;
constexpr int kOptionsEdit = control::kMkIdxOptionsEdit;
constexpr int kNeverBox = control::kMkIdxNeverBox;

// Every dialog here: the model travels in the dialog's user data, and the
// dialog is the owner of whatever it opens while it is up.
struct Context {
  Win32Prompts* prompts;
  void* model;
};

template <class Model>
Model& ModelOf(HWND w) {
  return *static_cast<Model*>(reinterpret_cast<Context*>(GetWindowLongPtrA(w, DWLP_USER))->model);
}

INT_PTR Run(Win32Prompts& prompts, int templ, DLGPROC proc, void* model) {
  Context ctx{&prompts, model};
  return DialogBoxParamA(prompts.Instance(), MAKEINTRESOURCEA(templ), prompts.Owner(), proc,
                         reinterpret_cast<LPARAM>(&ctx));
}

// Common start and end of every dialog procedure: remember the context,
// give the captions room and become the owner of what opens next; stop
// being it when destroyed.
bool Track(HWND w, UINT msg, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* ctx = reinterpret_cast<Context*>(lp);
    SetWindowLongPtrA(w, DWLP_USER, lp);
    ctx->prompts->PushOwner(w);
    GiveCaptionsRoom(w);
    return true;
  }
  if (msg == WM_DESTROY) {
    if (auto* ctx = reinterpret_cast<Context*>(GetWindowLongPtrA(w, DWLP_USER))) ctx->prompts->PopOwner();
  }
  return false;
}

void CheckBox(HWND w, int id, bool on) { CheckDlgButton(w, id, on ? BST_CHECKED : BST_UNCHECKED); }

INT_PTR CALLBACK AboutProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (Track(w, msg, lp)) return TRUE;
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    EndDialog(w, LOWORD(wp));
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK SettingsProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (Track(w, msg, lp)) return TRUE;
  if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return FALSE;
  const int id = LOWORD(wp);
  if (id == IDOK || id == IDCANCEL) {
    EndDialog(w, id);  // "閉じる", Esc and the close box end it alike
  } else {
    ModelOf<CSettingsDlg>(w).OnButton(id);
  }
  return TRUE;
}

void ShowPdfBoxes(HWND w, const CPdfSizeDlg& m) {
  CheckBox(w, kBoxNShow, m.NShowBox());
  CheckBox(w, kBoxNeShow, m.NeShowBox());
}

INT_PTR CALLBACK PdfSizeProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (Track(w, msg, lp)) {
    auto& m = ModelOf<CPdfSizeDlg>(w);
    m.OnInitDialog();
    const std::vector<HWND> radios = RadioButtons(w);
    for (std::size_t i = 0; i < radios.size(); ++i) {
      SendMessageA(radios[i], BM_SETCHECK, static_cast<int>(i) == m.Radio() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ShowPdfBoxes(w, m);
    return TRUE;  // the focus goes to the first tab stop, OK
  }
  if (msg != WM_COMMAND) return FALSE;
  auto& m = ModelOf<CPdfSizeDlg>(w);
  switch (LOWORD(wp)) {
    case kBoxNShow:
      // The click has toggled the box; the model follows and may clear the other.
      m.OnCheckNShow(IsDlgButtonChecked(w, kBoxNShow) == BST_CHECKED);
      ShowPdfBoxes(w, m);
      return TRUE;
    case kBoxNeShow:
      m.OnCheckNeShow(IsDlgButtonChecked(w, kBoxNeShow) == BST_CHECKED);
      ShowPdfBoxes(w, m);
      return TRUE;
    case IDOK: {
      m.SelectRadio(-1);
      const std::vector<HWND> radios = RadioButtons(w);
      for (std::size_t i = 0; i < radios.size(); ++i) {
        if (SendMessageA(radios[i], BM_GETCHECK, 0, 0) == BST_CHECKED) m.SelectRadio(static_cast<int>(i));
      }
      m.SaveExchange();
      EndDialog(w, IDOK);
      return TRUE;
    }
    case IDCANCEL:
      EndDialog(w, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK MkIdxOptProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (Track(w, msg, lp)) {
    auto& m = ModelOf<CMkIdxOptDlg>(w);
    // The options are in the system code page, as the edit box shows them.
    SetDlgItemTextA(w, kOptionsEdit, m.Options().c_str());
    CheckBox(w, kNeverBox, m.Never() != 0);
    // Typing goes into the options, replacing them; on OK, the first tab
    // stop, the blank of "-s myindex" would press it. FALSE keeps this focus.
    SetFocus(GetDlgItem(w, kOptionsEdit));
    SendDlgItemMessageA(w, kOptionsEdit, EM_SETSEL, 0, -1);
    return FALSE;
  }
  if (msg != WM_COMMAND) return FALSE;
  auto& m = ModelOf<CMkIdxOptDlg>(w);
  switch (LOWORD(wp)) {
    case IDOK: {
      const int n = GetWindowTextLengthA(GetDlgItem(w, kOptionsEdit));
      std::string text(static_cast<std::size_t>(n) + 1, '\0');
      GetDlgItemTextA(w, kOptionsEdit, &text[0], n + 1);
      text.resize(static_cast<std::size_t>(n));
      m.SaveExchange(text.c_str(), IsDlgButtonChecked(w, kNeverBox) == BST_CHECKED);
      EndDialog(w, IDOK);
      return TRUE;
    }
    case IDCANCEL:
      EndDialog(w, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::vector<HWND> RadioButtons(HWND dialog) {
  std::vector<HWND> out;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
      char cls[16] = {};
      GetClassNameA(c, cls, sizeof cls);
      if (lstrcmpiA(cls, "Button") == 0) out.push_back(c);
    }
  }
  return out;
}

void RunAbout(Win32Prompts& prompts) { Run(prompts, dialog::kAbout, AboutProc, nullptr); }

void RunSettings(Win32Prompts& prompts, CSettingsDlg& model) {
  Run(prompts, dialog::kSettings, SettingsProc, &model);
}

bool RunPdfSize(Win32Prompts& prompts, CPdfSizeDlg& model) {
  return Run(prompts, dialog::kPdfSize, PdfSizeProc, &model) == IDOK;
}

bool RunMkIdxOpt(Win32Prompts& prompts, CMkIdxOptDlg& model) {
  return Run(prompts, dialog::kMkIdxOpt, MkIdxOptProc, &model) == IDOK;
}

}  // namespace win32dlg
