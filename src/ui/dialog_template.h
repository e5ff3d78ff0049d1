// Dialog layouts kept as data: one table per template in res/dialogs/<id>.json,
// built by the one small builder that every dialog of the bar shares.
#pragma once

#include <QFont>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;

struct ControlTemplate {
  int id = 0;            // 0 for controls without an id (labels, icons)
  QString kind;          // "button", "defbutton", "iconbutton", "checkbox", "radio",
                         // "static", "edit", "combo", "listbox", "icon"
  QString text;          // caption in UTF-8, \n already a line break
  int x = 0, y = 0, w = 0, h = 0;  // dialog units
  int icon = 0;          // icon resource number for "iconbutton" / "icon"
  QStringList styles;    // e.g. "group", "tabstop", "multiline", "acceptfiles"
};

struct DialogTemplate {
  int id = 0;
  QString caption;
  int x = 0, y = 0, w = 0, h = 0;  // dialog units
  QString fontFamily;              // "ＭＳ Ｐゴシック"
  int pointSize = 9;
  QVector<ControlTemplate> controls;  // template order = tab order
};

// Loads :/dialogs/<id>.json. Aborts with a clear message when missing: the
// templates are compiled into the program.
DialogTemplate LoadDialogTemplate(int id);

// The dialog font, the same in every locale: the template's family where
// the system has it, else a Japanese proportional gothic chosen by name,
// else the desktop's Japanese sans-serif. Any window of the bar that shows
// Japanese text takes its font from here.
QFont DialogFont(const QString& family, int pointSize);

// Dialog units of a font: a horizontal unit is a quarter of the average width
// of the 52 letters, a vertical one an eighth of the font's height.
class DialogUnits {
 public:
  static DialogUnits ForFont(const QFont& font);
  int X(int du) const;  // horizontal dialog units -> pixels
  int Y(int du) const;  // vertical dialog units -> pixels
  QRect Rect(int x, int y, int w, int h) const;
  double baseX = 0, baseY = 0;  // average char width, font height (pixels)
};

struct BuiltDialog {
  QMap<int, QWidget*> controls;  // by id (controls with id 0 are not in here)
  QVector<QWidget*> order;       // every control, template order
  DialogUnits units;
};

// Sets the font, fixed client size, caption and creates every control of the
// template as a child of `dlg`, placed in dialog units, in tab order.
BuiltDialog BuildDialog(QWidget* dlg, const DialogTemplate& t);
