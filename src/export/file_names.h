#pragma once

#include <QString>
#include <filesystem>

class QUrl;

namespace tavrola {

// File names between Qt and the file layer, in the file system's own encoding.
std::filesystem::path ToFilePath(const QString& name);
QString FromFilePath(const std::filesystem::path& path);

// The name of a local file's address (a drop's) as the file system holds it: a name that is not
// UTF-8 keeps its bytes, and an address naming this machine ("file://localhost/...") is local.
std::filesystem::path LocalFileOfUrl(const QUrl& url);

}  // namespace tavrola
