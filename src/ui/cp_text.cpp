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

namespace {
// Length of the well-formed UTF-8 character of two or more bytes at `at`
// (no overlong forms, no surrogates), or 0.
std::size_t Utf8CharAt(const std::string& s, std::size_t at) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(at);
  std::size_t n;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (at + n > s.size()) return 0;
  if (b(at + 1) < lo || b(at + 1) > hi) return 0;
  for (std::size_t i = 2; i < n; ++i) {
    if (b(at + i) < 0x80 || b(at + i) > 0xBF) return 0;
  }
  return n;
}
}  // namespace

QString LiteralToQt(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString MessageToQt(const std::string& bytes) {
  if (mbcs::SystemCodePage() == mbcs::CodePage::Utf8) return LiteralToQt(bytes);
  QString out;
  std::string outside;  // bytes of an inserted value, decoded together
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      // ASCII reads the same either way; it joins whichever run it is in.
      if (!outside.empty()) {
        outside += bytes[i];
      } else {
        out += QLatin1Char(static_cast<char>(c));
      }
      ++i;
      continue;
    }
    if (const std::size_t n = Utf8CharAt(bytes, i)) {
      if (!outside.empty()) {
        out += CpToQt(outside);
        outside.clear();
      }
      out += LiteralToQt(bytes.substr(i, n));
      i += n;
      continue;
    }
    // A double-byte character of the code page stays whole.
    const std::size_t n = mbcs::IsLeadByte(c, mbcs::CodePage::Cp932) && i + 1 < bytes.size() ? 2 : 1;
    outside.append(bytes, i, n);
    i += n;
  }
  if (!outside.empty()) out += CpToQt(outside);
  return out;
}

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
