#pragma once

#include <QString>
#include <filesystem>

namespace tavrola {

// File names between Qt and the file layer, in the file system's own encoding.
std::filesystem::path ToFilePath(const QString& name);
QString FromFilePath(const std::filesystem::path& path);

}  // namespace tavrola
