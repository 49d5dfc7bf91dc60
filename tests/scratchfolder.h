#pragma once

#include "module1.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMap>
#include <QTemporaryDir>

using FileMap = QMap<QString, QByteArray>;

// A scratch program folder holding the given files, used by the store while the fixture lives;
// made in the folder given, or the system's temporary folder.
class ScratchFolder
{
public:
    explicit ScratchFolder(const FileMap &files = {}, const QString &in = {})
        : m_dir(in.isEmpty() ? QString() : in + QLatin1String("/quillbox-XXXXXX"))
    {
        AppFolder = QDir::toNativeSeparators(m_dir.path());
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            write(it.key(), it.value());
    }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the scratch file %s", qPrintable(name));
    }
    void remove(const QString &name) const { QFile::remove(filePath(name)); }
    // Every entry of the folder with what it holds, to see that nothing else changed.
    FileMap files() const
    {
        FileMap files;
        const auto filter = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        for (const QString &name : QDir(path()).entryList(filter)) {
            QFile file(filePath(name));
            files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        return files;
    }

private:
    QTemporaryDir m_dir;
};

// A slot file's bytes in the stored layout.
inline QByteArray slotBytes(int number, const QByteArray &title, const QList<QByteArray> &lines)
{
    QByteArray bytes = QByteArray::number(number) + ',' + QByteArray::number(lines.size()) + "\r\n";
    bytes += '"' + title + "\"\r\n";
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// Slot files for the slots first to last, each titled t and holding one line.
inline FileMap slotFiles(int first, int last)
{
    FileMap files;
    for (int n = first; n <= last; ++n)
        files.insert(QStringLiteral("Qbox%1.QBX").arg(n), slotBytes(n, "t", {"x"}));
    return files;
}
