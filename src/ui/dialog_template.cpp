// The dialog builder: templates from the compiled-in resources, the dialog
// font, dialog units and the widgets of every control.
#include "ui/dialog_template.h"

#include "ui/caption_room.h"
#include "ui/dialog_owner.h"
#include "ui/string_table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QIcon>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <QtGlobal>

#include <cmath>
#include <vector>

// The resources live in a static library: nothing else references them, so
// the linker would drop them unless they are initialised by name.
static void InitMirvanResources() {
  static bool done = false;
  if (!done) {
    Q_INIT_RESOURCE(mirvan);
    done = true;
  }
}

namespace {

int IntOf(const QJsonObject& o, const char* key, int def = 0) {
  const QJsonValue v = o.value(QLatin1String(key));
  return v.isDouble() ? v.toInt() : def;
}

QStringList StringsOf(const QJsonObject& o, const char* key) {
  QStringList out;
  const QJsonArray a = o.value(QLatin1String(key)).toArray();
  for (const QJsonValue& v : a) out << v.toString();
  return out;
}

QWidget* MakeControl(const ControlTemplate& c, QWidget* parent) {
  const QString& k = c.kind;
  if (k == QLatin1String("button") || k == QLatin1String("defbutton") || k == QLatin1String("iconbutton")) {
    auto* b = new QPushButton(parent);
    if (k == QLatin1String("iconbutton")) {
      // Only the icon is drawn; the caption still names the button for
      // screen readers.
      b->setAccessibleName(c.text);
    } else {
      b->setText(c.text);
    }
    // Enter presses the push button that has the focus, and the default one
    // while no push button has it: an auto-default button takes the default
    // role while it holds the focus and hands it back when it loses it.
    b->setAutoDefault(true);
    b->setDefault(k == QLatin1String("defbutton"));
    return b;
  }
  // The platform's check marks sit close to their captions; the toolkit's
  // wider gap would cut the ends off captions sized for it ("Landscape").
  static const QString kTightMark = QStringLiteral("QCheckBox, QRadioButton { spacing: 2px; }");
  if (k == QLatin1String("checkbox")) {
    auto* b = new QCheckBox(c.text, parent);
    b->setStyleSheet(kTightMark);
    return b;
  }
  if (k == QLatin1String("radio")) {
    auto* r = new QRadioButton(c.text, parent);
    r->setStyleSheet(kTightMark);
    // The dialog puts its radio buttons in a QButtonGroup; until then they
    // must not uncheck one another on their own.
    r->setAutoExclusive(false);
    return r;
  }
  if (k == QLatin1String("static")) {
    auto* l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setText(c.text);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A static that has room for more than one line, or holds a line break,
    // wraps like the platform's left-aligned static text.
    l->setWordWrap(c.text.contains(QLatin1Char('\n')) || c.h >= 16);
    return l;
  }
  if (k == QLatin1String("edit")) {
    auto* e = new QLineEdit(c.text, parent);
    e->setFrame(c.styles.contains(QLatin1String("border")));
    return e;
  }
  if (k == QLatin1String("combo")) {
    auto* cb = new QComboBox(parent);
    cb->setEditable(true);
    // The owner fills and orders the list; typing never adds an entry.
    cb->setInsertPolicy(QComboBox::NoInsert);
    return cb;
  }
  if (k == QLatin1String("listbox")) {
    auto* list = new QListWidget(parent);
    list->setHorizontalScrollBarPolicy(c.styles.contains(QLatin1String("hscroll")) ? Qt::ScrollBarAsNeeded
                                                                                    : Qt::ScrollBarAlwaysOff);
    return list;
  }
  if (k == QLatin1String("icon")) {
    auto* l = new QLabel(parent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
  }
  qFatal("dialog template: unknown control kind \"%s\"", qPrintable(k));
  return nullptr;
}

// What a control with a caption needs to show it whole: its width, and for
// a wrapped text its height at a width. Nothing for the others.
caption_room::Need CaptionNeeds(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w)) {
    if (l->text().isEmpty()) return {};
    if (l->wordWrap()) return {0, 0, [l](int width) { return l->heightForWidth(width); }};
    return {QFontMetrics(l->font()).horizontalAdvance(l->text()), l->height(), {}};
  }
  if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
    return {w->sizeHint().width(), w->height(), {}};
  }
  return {};
}

// The template's boxes were sized for its own face; in the face this system
// has, a caption may run a few pixels wider, or a wrapped text a line's
// descent taller: the control grows into free space (caption_room).
void GiveCaptionsRoom(QWidget* dlg, const QVector<QWidget*>& order) {
  std::vector<caption_room::Box> boxes;
  std::vector<caption_room::Need> needs;
  for (QWidget* w : order) {
    const QRect g = w->geometry();
    boxes.push_back({g.left(), g.top(), g.width(), g.height()});
    needs.push_back(CaptionNeeds(w));
  }
  caption_room::GiveCaptionsRoom(boxes, needs, dlg->width(), dlg->height());
  for (int i = 0; i < order.size(); ++i) {
    const caption_room::Box& b = boxes[static_cast<std::size_t>(i)];
    const QRect r(b.left, b.top, b.width, b.height);
    if (r != order[i]->geometry()) order[i]->setGeometry(r);
  }
}

}  // namespace

DialogTemplate LoadDialogTemplate(int id) {
  InitMirvanResources();
  const QString path = QStringLiteral(":/dialogs/%1.json").arg(id);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) qFatal("dialog template %s is missing", qPrintable(path));
  QJsonParseError err{};
  const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &err);
  if (err.error != QJsonParseError::NoError || !doc.isObject())
    qFatal("dialog template %s: %s", qPrintable(path), qPrintable(err.errorString()));

  const QJsonObject o = doc.object();
  DialogTemplate t;
  t.id = IntOf(o, "id", id);
  t.caption = o.value(QLatin1String("caption")).toString();
  t.x = IntOf(o, "x");
  t.y = IntOf(o, "y");
  t.w = IntOf(o, "w");
  t.h = IntOf(o, "h");
  const QJsonObject font = o.value(QLatin1String("font")).toObject();
  t.fontFamily = font.value(QLatin1String("family")).toString();
  t.pointSize = IntOf(font, "size", t.pointSize);
  const QJsonArray controls = o.value(QLatin1String("controls")).toArray();
  for (const QJsonValue& v : controls) {
    const QJsonObject co = v.toObject();
    ControlTemplate c;
    c.id = IntOf(co, "id");
    c.kind = co.value(QLatin1String("kind")).toString();
    c.text = co.value(QLatin1String("text")).toString();
    c.x = IntOf(co, "x");
    c.y = IntOf(co, "y");
    c.w = IntOf(co, "w");
    c.h = IntOf(co, "h");
    c.icon = IntOf(co, "icon");
    c.styles = StringsOf(co, "styles");
    t.controls.push_back(c);
  }
  return t;
}

QFont DialogFont(const QString& family, int pointSize) {
  // The face is picked from the installed families by name, never left to
  // the system's substitution: that follows the locale, and under a
  // Japanese one it turns the template's face into a monospaced gothic and
  // reports the others by their Japanese names. Each candidate is known by
  // its English and its Japanese family name. After the template's face
  // comes a proportional gothic drawn to the same metrics, so the captions
  // fit the template's boxes, then the desktop's Japanese sans-serif, whose
  // full-width kana run wider.
  const QStringList candidates[] = {
      {family},
      {QStringLiteral("MS PGothic"), QStringLiteral("ＭＳ Ｐゴシック")},
      {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")},
      {QStringLiteral("Noto Sans CJK JP")},
  };
  // Drawn without hinting: the light hinting most desktops ask for runs the
  // automatic hinter, which for a Japanese face first measures a hundred or
  // so kanji spread over the whole font file, costing start-up time and more
  // than a megabyte of memory, for captions that look the same.
  const auto unhinted = [](QFont font) {
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
  };
  const QStringList installed = QFontDatabase::families();
  for (const QStringList& names : candidates) {
    for (const QString& name : names) {
      if (!name.isEmpty() && installed.contains(name, Qt::CaseInsensitive)) return unhinted(QFont(name, pointSize));
    }
  }
  QFont sans(QStringLiteral("sans-serif"), pointSize);
  sans.setStyleHint(QFont::SansSerif);
  return unhinted(sans);
}

DialogUnits DialogUnits::ForFont(const QFont& font) {
  static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  DialogUnits u;
  u.baseX = QFontMetricsF(font).horizontalAdvance(letters) / 52.0;
  u.baseY = QFontMetrics(font).height();
  return u;
}

// MulDiv rounds halves away from zero; std::lround does the same.
int DialogUnits::X(int du) const { return static_cast<int>(std::lround(du * baseX / 4.0)); }
int DialogUnits::Y(int du) const { return static_cast<int>(std::lround(du * baseY / 8.0)); }

// Position and size are converted separately, as the platform creates a
// template's controls.
QRect DialogUnits::Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }

BuiltDialog BuildDialog(QWidget* dlg, const DialogTemplate& t) {
  BuiltDialog built;
  dlg->setFont(DialogFont(t.fontFamily, t.pointSize));
  built.units = DialogUnits::ForFont(dlg->font());
  const DialogUnits& u = built.units;

  dlg->setWindowTitle(t.caption);
  dlg->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  dlg->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
  dlg->setFixedSize(u.X(t.w), u.Y(t.h));

  QWidget* prevFocus = nullptr;
  int index = 0;
  for (const ControlTemplate& c : t.controls) {
    QWidget* w = MakeControl(c, dlg);
    w->setObjectName(c.id != 0 ? QStringLiteral("ctl%1").arg(c.id) : QStringLiteral("static%1").arg(index));
    QRect r = u.Rect(c.x, c.y, c.w, c.h);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      // The template's height includes the dropped list; the closed box
      // is as tall as any combo box, the list gets the rest.
      const int closed = combo->sizeHint().height();
      const int item = QFontMetrics(dlg->font()).height();
      combo->setMaxVisibleItems(qMax(1, (r.height() - closed) / qMax(1, item)));
      r.setHeight(closed);
    }
    if (c.kind == QLatin1String("icon") && c.icon != 0) {
      const QIcon icon = ResourceIcon(c.icon);
      if (!icon.isNull()) {
        auto* label = static_cast<QLabel*>(w);
        const int side = qMin(32, qMin(r.width(), r.height()));
        label->setPixmap(icon.pixmap(QSize(side, side), label->devicePixelRatioF()));
      }
    }
    w->setGeometry(r);

    const bool tabStop = c.styles.contains(QLatin1String("tabstop"));
    if (qobject_cast<QLabel*>(w)) {
      w->setFocusPolicy(Qt::NoFocus);
    } else {
      w->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
    if (tabStop) {
      if (prevFocus) QWidget::setTabOrder(prevFocus, w);
      prevFocus = w;
    }

    if (c.id != 0) built.controls.insert(c.id, w);
    built.order.push_back(w);
    ++index;
  }
  GiveCaptionsRoom(dlg, built.order);
  return built;
}

QWidget* DialogOwner(QWidget* parent) {
  // An open modal dialog is the window the user works in (the Settings
  // dialog over the bar), even before the window system reports it active:
  // a dialog opened from it must stack on it, not beside it on the bar.
  if (QWidget* modal = QApplication::activeModalWidget()) {
    if (!parent || parent->window() != modal) return modal;
  }
  return parent ? parent : QApplication::activeWindow();
}
