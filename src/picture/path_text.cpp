// Path conversions: wide strings on Windows, the locale's file name encoding elsewhere.
#include "picture/path_text.h"

#include <QFile>

namespace moza::picture {

std::filesystem::path ToPath(const QString& text) {
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

QString ToText(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

}  // namespace moza::picture
