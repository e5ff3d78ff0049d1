#include "ui/string_table.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>

static void InitMirvanQrc() { Q_INIT_RESOURCE(mirvan); }

void EnsureUiResources() {
  static const bool done = (InitMirvanQrc(), true);
  (void)done;
}

namespace {
const QJsonObject& Table() {
  static const QJsonObject table = [] {
    EnsureUiResources();
    QFile f(QStringLiteral(":/strings.json"));
    if (!f.open(QIODevice::ReadOnly)) return QJsonObject();
    return QJsonDocument::fromJson(f.readAll()).object();
  }();
  return table;
}
}  // namespace

QIcon ResourceIcon(int id) {
  EnsureUiResources();
  const QPixmap image(QStringLiteral(":/icons/%1.png").arg(id));
  if (!image.isNull()) return QIcon(image);
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(id));
}

QString LoadResString(int id) { return Table().value(QString::number(id)).toString(); }

QString ToolTipText(int controlId) {
  const QString s = LoadResString(controlId);
  const qsizetype nl = s.indexOf(QLatin1Char('\n'));
  return nl < 0 ? s : s.mid(nl + 1);
}
