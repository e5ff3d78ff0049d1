#include "ui/cp_text.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include "text/mbcs.h"

namespace {
// Qt names CP932 "Shift_JIS" when it is built with ICU; without it the
// converters are invalid and the locale's conversion is the best left.
constexpr const char* kCp932 = "Shift_JIS";
}  // namespace

QString CpToQt(const std::string& bytes) {
  const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (mbcs::SystemCodePage() == mbcs::CodePage::Utf8) return QString::fromUtf8(raw);
  QStringDecoder dec(kCp932);
  if (!dec.isValid()) return QString::fromLocal8Bit(raw);
  return dec.decode(raw);
}

std::string QtToCp(const QString& text) {
  QByteArray raw;
  if (mbcs::SystemCodePage() == mbcs::CodePage::Utf8) {
    raw = text.toUtf8();
  } else {
    QStringEncoder enc(kCp932);
    raw = enc.isValid() ? QByteArray(enc.encode(text)) : text.toLocal8Bit();
  }
  return std::string(raw.constData(), static_cast<std::size_t>(raw.size()));
}

std::string QtPathToCp(const QString& path) {
  const QByteArray raw = QFile::encodeName(path);
  return std::string(raw.constData(), static_cast<std::size_t>(raw.size()));
}
