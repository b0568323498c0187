#include "IconFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include "controls/Icons.h"

namespace stallmark {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kHeaderSize = 6;
constexpr int kEntrySize = 16;

void PutU16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void PutU32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

quint16 GetU16(const QByteArray& data, qsizetype at) { return qFromLittleEndian<quint16>(data.constData() + at); }
quint32 GetU32(const QByteArray& data, qsizetype at) { return qFromLittleEndian<quint32>(data.constData() + at); }

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    return bytes;
}

bool SaveBytes(const QString& file, const QByteArray& bytes, QString& error) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        error = file + u": "_s + out.errorString();
        return false;
    }
    return true;
}

}  // namespace

const std::vector<int>& ThemeIconSizes() {
    static const std::vector<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

const std::vector<int>& WindowsIconSizes() {
    static const std::vector<int> sizes = {16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QByteArray MakeIcoFile(const std::vector<QImage>& images) {
    std::vector<QByteArray> pngs;
    for (const QImage& image : images) pngs.push_back(Png(image));
    QByteArray out;
    PutU16(out, 0);  // reserved
    PutU16(out, 1);  // an icon, not a cursor
    PutU16(out, static_cast<quint16>(images.size()));
    quint32 offset = kHeaderSize + kEntrySize * static_cast<quint32>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        out.append(static_cast<char>(size >= 256 ? 0 : size));  // 0 stands for 256
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append('\0');  // no palette
        out.append('\0');  // reserved
        PutU16(out, 1);    // colour planes
        PutU16(out, 32);   // bits per pixel
        PutU32(out, static_cast<quint32>(pngs[i].size()));
        PutU32(out, offset);
        offset += static_cast<quint32>(pngs[i].size());
    }
    for (const QByteArray& png : pngs) out += png;
    return out;
}

std::vector<QImage> ReadIcoFile(const QByteArray& data) {
    if (data.size() < kHeaderSize || GetU16(data, 0) != 0 || GetU16(data, 2) != 1) return {};
    const int count = GetU16(data, 4);
    if (data.size() < kHeaderSize + kEntrySize * count) return {};
    std::vector<QImage> images;
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = kHeaderSize + kEntrySize * i;
        const int width = static_cast<unsigned char>(data[entry]) == 0 ? 256 : static_cast<unsigned char>(data[entry]);
        const quint32 length = GetU32(data, entry + 8);
        const quint32 offset = GetU32(data, entry + 12);
        if (offset > static_cast<quint32>(data.size()) || length > static_cast<quint32>(data.size()) - offset)
            return {};
        QImage image;
        if (!image.loadFromData(data.mid(offset, length), "PNG") || image.width() != width) return {};
        images.push_back(image.convertToFormat(QImage::Format_ARGB32));
    }
    return images;
}

bool WriteThemeIcons(const QString& folder, const QString& name, const std::vector<int>& sizes, QString& error) {
    for (int size : sizes) {
        const QString dir = u"%1/%2x%2/apps"_s.arg(folder).arg(size);
        if (!QDir().mkpath(dir)) {
            error = dir + u": cannot be made"_s;
            return false;
        }
        if (!SaveBytes(dir + u'/' + name + u".png"_s, Png(AppIconImage(size)), error)) return false;
    }
    return true;
}

bool WriteWindowsIcon(const QString& file, QString& error) {
    std::vector<QImage> images;
    for (int size : WindowsIconSizes()) images.push_back(AppIconImage(size));
    return SaveBytes(file, MakeIcoFile(images), error);
}

}  // namespace stallmark
