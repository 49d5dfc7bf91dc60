// Build tool: writes the program's icon, drawn by AppIcons, as the files a desktop and
// Windows look for: OUT/SIZExSIZE/apps/NAME.png for each size, and OUT/NAME.ico holding
// them all (PNG entries, which Windows reads since Vista).
#include "resources/appicons.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtEndian>

#include <cstdio>

namespace {

QByteArray png(int size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    AppIcons::programPixmap(size).save(&buffer, "PNG");
    return bytes;
}

void append16(QByteArray &bytes, quint16 value)
{
    value = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&value), 2);
}

void append32(QByteArray &bytes, quint32 value)
{
    value = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&value), 4);
}

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: writeicons OUT NAME SIZE...\n");
        return 2;
    }
    const QString out = args.at(1), name = args.at(2);
    const QStringList sizes = args.mid(3);

    QByteArray directory, images;
    append16(directory, 0);
    append16(directory, 1);  // an icon, not a cursor
    append16(directory, quint16(sizes.size()));
    quint32 offset = 6 + 16 * quint32(sizes.size());
    for (const QString &text : sizes) {
        const int size = text.toInt();
        const QByteArray image = png(size);
        if (size < 1 || size > 256 || image.isEmpty()
            || !write(QStringLiteral("%1/%2x%2/apps/%3.png").arg(out, text, name), image))
            return 1;
        directory.append(char(size % 256)).append(char(size % 256)).append(2, '\0');
        append16(directory, 1);   // colour planes
        append16(directory, 32);  // bits per pixel
        append32(directory, quint32(image.size()));
        append32(directory, offset);
        offset += quint32(image.size());
        images += image;
    }
    return write(QStringLiteral("%1/%2.ico").arg(out, name), directory + images) ? 0 : 1;
}
