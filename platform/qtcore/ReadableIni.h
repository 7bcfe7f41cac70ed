#pragma once
// The text format of the settings files: INI as a person writes it. Keys keep their blanks
// ("show full path=1"), values stand unquoted unless they need it, and numbered keys come in
// numeric order ("1", "2", ... "10") after the named ones, so a playlist reads top to bottom.

#include <QSettings>
#include <QString>

namespace korvalin::qtcore {

// The format, registered with QSettings on first use.
QSettings::Format ReadableIniFormat();

// Exposed for the tests: the text of one key or section name and of one value as written.
QString EscapeIniName(const QString& name, bool isSection);
QString UnescapeIniName(const QString& text);
QString EncodeIniValue(const QString& value);
QString DecodeIniValue(const QString& text);

// Whether key `a` is written before key `b`.
bool IniKeyBefore(const QString& a, const QString& b);

}  // namespace korvalin::qtcore
