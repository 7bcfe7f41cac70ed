#include "platform/qtcore/ReadableIni.h"

#include <QIODevice>
#include <QStringList>
#include <algorithm>
#include <map>
#include <vector>

namespace korvalin::qtcore {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool IsControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }

QString Hex2(ushort code) { return QString::number(code, 16).rightJustified(2, u'0').toUpper(); }

QString TrimBlanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

bool AllDigits(const QString& s) {
  return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString WithoutLeadingZeros(const QString& s) {
  qsizetype i = 0;
  while (i + 1 < s.size() && s[i] == u'0') ++i;
  return s.mid(i);
}

// QSettings hands over "section/key"; a key without a section lies before the first header.
std::pair<QString, QString> SplitSection(const QString& path) {
  const qsizetype slash = path.indexOf(u'/');
  if (slash < 0) return {QString(), path};
  return {path.left(slash), path.mid(slash + 1)};
}

QString ValueText(const QVariant& v) {
  if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(u',');
  return v.toString();
}

bool ReadIni(QIODevice& device, QSettings::SettingsMap& map) {
  const QString text = QString::fromUtf8(device.readAll());
  QString section;
  for (QString line : text.split(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    line = TrimBlanks(line);
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[') && line.endsWith(u']')) {
      section = UnescapeIniName(line.mid(1, line.size() - 2));
      continue;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0) continue;  // not a key line: skipped, the rest of the file still counts
    const QString key = UnescapeIniName(TrimBlanks(line.left(eq)));
    if (key.isEmpty()) continue;
    map.insert(section.isEmpty() ? key : section + u'/' + key, DecodeIniValue(TrimBlanks(line.mid(eq + 1))));
  }
  return true;
}

bool WriteIni(QIODevice& device, const QSettings::SettingsMap& map) {
  std::map<QString, std::vector<std::pair<QString, QString>>> sections;
  for (auto it = map.begin(); it != map.end(); ++it) {
    auto [section, key] = SplitSection(it.key());
    sections[section].emplace_back(key, ValueText(it.value()));
  }
  QString out;
  for (auto& [section, entries] : sections) {
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return IniKeyBefore(a.first, b.first); });
    if (!out.isEmpty()) out += u'\n';
    if (!section.isEmpty()) out += QStringLiteral("[") + EscapeIniName(section, true) + QStringLiteral("]\n");
    for (const auto& [key, value] : entries) out += EscapeIniName(key, false) + u'=' + EncodeIniValue(value) + u'\n';
  }
  const QByteArray bytes = out.toUtf8();
  return device.write(bytes) == bytes.size();
}

}  // namespace

QString EscapeIniName(const QString& name, bool isSection) {
  QString out;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const QChar c = name[i];
    const bool edge = (i == 0 || i == name.size() - 1) && IsBlank(c);
    const bool opener = i == 0 && !isSection && (c == u'[' || c == u';' || c == u'#');
    const bool special = c == u'%' || IsControl(c) || (isSection ? c == u']' : c == u'=');
    if (edge || opener || special) {
      out += QStringLiteral("%") + Hex2(c.unicode());
    } else {
      out += c;
    }
  }
  return out;
}

QString UnescapeIniName(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 2 < text.size()) {
      bool ok = false;
      const ushort code = text.mid(i + 1, 2).toUShort(&ok, 16);
      if (ok) {
        out += QChar(code);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

QString EncodeIniValue(const QString& value) {
  const bool needsQuotes = !value.isEmpty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                                                value.front() == u'"' ||
                                                std::any_of(value.begin(), value.end(), IsControl));
  if (!needsQuotes) return value;
  QString out(u'"');
  for (QChar c : value) {
    if (c == u'\\' || c == u'"') {
      out += u'\\';
      out += c;
    } else if (c == u'\n') {
      out += QStringLiteral("\\n");
    } else if (c == u'\r') {
      out += QStringLiteral("\\r");
    } else if (c == u'\t') {
      out += QStringLiteral("\\t");
    } else if (IsControl(c)) {
      out += QStringLiteral("\\x") + Hex2(c.unicode());
    } else {
      out += c;
    }
  }
  return out + u'"';
}

QString DecodeIniValue(const QString& text) {
  if (text.size() < 2 || text.front() != u'"' || text.back() != u'"') return text;
  QString out;
  const qsizetype end = text.size() - 1;
  for (qsizetype i = 1; i < end; ++i) {
    const QChar c = text[i];
    if (c != u'\\' || i + 1 >= end) {
      out += c;
      continue;
    }
    const QChar e = text[++i];
    if (e == u'n') {
      out += u'\n';
    } else if (e == u'r') {
      out += u'\r';
    } else if (e == u't') {
      out += u'\t';
    } else if (e == u'x' && i + 2 < end) {
      bool ok = false;
      const ushort code = text.mid(i + 1, 2).toUShort(&ok, 16);
      if (ok) {
        out += QChar(code);
        i += 2;
      } else {
        out += e;
      }
    } else {
      out += e;
    }
  }
  return out;
}

bool IniKeyBefore(const QString& a, const QString& b) {
  const bool numA = AllDigits(a), numB = AllDigits(b);
  if (numA != numB) return numB;  // named keys first
  if (numA) {
    const QString sa = WithoutLeadingZeros(a), sb = WithoutLeadingZeros(b);
    if (sa.size() != sb.size()) return sa.size() < sb.size();
    if (sa != sb) return sa < sb;
    return a < b;
  }
  return a < b;
}

QSettings::Format ReadableIniFormat() {
  static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("ini"), ReadIni, WriteIni);
  return format;
}

}  // namespace korvalin::qtcore
