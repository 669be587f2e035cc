#pragma once
#include <QString>
#include <filesystem>

namespace orv::skin {

// Writes everything that ships beside the executable into dataDir, replacing what is there:
// config.ini, the macro files and the skin (description files of both languages and every
// picture, also as NAME@2x). Returns false with a reason when a file cannot be written.
bool WriteDataFiles(const std::filesystem::path& dataDir, QString& error);

// The names of the pictures of the skin, relative to the skin folder: those drawn at one device
// pixel per layout pixel, or (scale 2) their NAME@2x versions.
QStringList PictureNames(int scale);
// The description files and macro files, relative to the data folder.
QStringList TextFileNames();

}  // namespace orv::skin
