#pragma once
// The application icon as files: PNG pictures at the sizes of the desktop's
// icon theme and a Windows icon file, all drawn by AppIconImage().

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace stallmark {

// The sizes of the hicolor theme's folders ("16x16" ... "256x256").
const std::vector<int>& ThemeIconSizes();
// The sizes inside the Windows icon file.
const std::vector<int>& WindowsIconSizes();

// A Windows icon file holding the pictures as PNG images (read by Windows
// Vista and later, and by the resource compilers), in the order given.
// Pictures must be square, 1 to 256 pixels.
QByteArray MakeIcoFile(const std::vector<QImage>& images);
// The pictures of an icon file made by MakeIcoFile; empty when the data is
// not such a file.
std::vector<QImage> ReadIcoFile(const QByteArray& data);

// Writes <folder>/<N>x<N>/apps/<name>.png for each size; false with a
// message in error when a file cannot be written.
bool WriteThemeIcons(const QString& folder, const QString& name, const std::vector<int>& sizes, QString& error);
// Writes the Windows icon file of WindowsIconSizes().
bool WriteWindowsIcon(const QString& file, QString& error);

}  // namespace stallmark
