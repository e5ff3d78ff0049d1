#include "ui/string_table.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QImage>
#include <QPixmap>
#include <QResource>

#include <cstdint>
#include <cstring>

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
    // The named entries ("names") are for the build's header of numbers.
    return QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("strings")).toObject();
  }();
  return table;
}
}  // namespace

QIcon ResourceIcon(int id) {
  EnsureUiResources();
  // Drawn at build time: the pixels are taken as they are, without an image
  // reader (which would ask every image plugin on the system about them).
  const QByteArray raw = QResource(QStringLiteral(":/icons/%1.argb").arg(id)).uncompressedData();
  std::uint32_t dims[2] = {0, 0};
  if (raw.size() > qsizetype(sizeof dims)) std::memcpy(dims, raw.constData(), sizeof dims);
  const qsizetype pixels = qsizetype(dims[0]) * qsizetype(dims[1]);
  const bool whole = dims[0] > 0 && dims[0] <= 1024 && dims[1] > 0 && dims[1] <= 1024 &&
                     raw.size() == qsizetype(sizeof dims) + 4 * pixels;
  if (whole) {
    QImage image(static_cast<int>(dims[0]), static_cast<int>(dims[1]), QImage::Format_ARGB32_Premultiplied);
    std::memcpy(image.bits(), raw.constData() + sizeof dims, std::size_t(4 * pixels));
    return QIcon(QPixmap::fromImage(image));
  }
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(id));
}

QString LoadResString(int id) { return Table().value(QString::number(id)).toString(); }

QString ToolTipText(int controlId) {
  const QString s = LoadResString(controlId);
  const qsizetype nl = s.indexOf(QLatin1Char('\n'));
  return nl < 0 ? s : s.mid(nl + 1);
}
