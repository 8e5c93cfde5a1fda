#include "export/file_names.h"

#include <QByteArray>
#include <QFile>
#include <QLatin1String>
#include <QUrl>
#include <string>

namespace tavrola {

std::filesystem::path ToFilePath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

QString FromFilePath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

std::filesystem::path LocalFileOfUrl(const QUrl& url) {
    // Only another host is a network share, which the desktop has mounted under a name of its own.
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost")) {
        return ToFilePath(url.toLocalFile());
    }
    // The encoded path keeps bytes that are not UTF-8, which a decoded QString would lose.
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace tavrola
