// Text between the core's UTF-8 strings and Qt.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quorvel {

inline QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string ToStdString(const QString& s) {
    return s.toUtf8().toStdString();
}

// Message texts keep the program's "\r\n" line breaks; dialogs want plain "\n".
inline QString DialogText(std::string_view s) {
    QString text = ToQString(s);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace quorvel
