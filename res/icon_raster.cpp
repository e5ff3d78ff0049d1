// Build-time helper: draws each of the bar's SVG icons into a raw image
// (width and height as 32-bit numbers, then premultiplied ARGB pixels in
// this machine's byte order), so that the program shows its icons without
// the SVG library, and without the image reader that asks every image
// plugin on the system about each file. With --png it writes PNG files
// instead, for the desktop's icon theme.
// Usage: icon_raster [--png] SIZE OUTDIR file.svg...
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdint>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments();
  const bool png = args.size() > 1 && args[1] == QStringLiteral("--png");
  if (png) args.removeAt(1);
  if (args.size() < 4) {
    std::fprintf(stderr, "usage: icon_raster [--png] SIZE OUTDIR file.svg...\n");
    return 2;
  }
  const int size = args[1].toInt();
  for (qsizetype i = 3; i < args.size(); ++i) {
    QSvgRenderer svg(args[i]);
    if (!svg.isValid()) {
      std::fprintf(stderr, "icon_raster: cannot read %s\n", qPrintable(args[i]));
      return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    svg.render(&painter);
    painter.end();
    const QString base = args[2] + QLatin1Char('/') + QFileInfo(args[i]).completeBaseName();
    if (png) {
      if (!image.save(base + QStringLiteral(".png"), "PNG")) {
        std::fprintf(stderr, "icon_raster: cannot write %s.png\n", qPrintable(base));
        return 1;
      }
      continue;
    }
    const QString out = base + QStringLiteral(".argb");
    QFile file(out);
    const std::uint32_t header[2] = {static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(size)};
    const qint64 bytes = image.sizeInBytes();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(header), sizeof header) != sizeof header ||
        file.write(reinterpret_cast<const char*>(image.constBits()), bytes) != bytes) {
      std::fprintf(stderr, "icon_raster: cannot write %s\n", qPrintable(out));
      return 1;
    }
  }
  return 0;
}
