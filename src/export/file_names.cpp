#include "export/file_names.h"

#include <QByteArray>
#include <QFile>

namespace tavrola {

std::filesystem::path ToFilePath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

QString FromFilePath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

}  // namespace tavrola
