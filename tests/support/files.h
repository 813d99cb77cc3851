#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace brezmor {

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of the program's 8-bit CR LF text, without the empty line after
// the last line end.
inline QStringList SplitLines(const QByteArray& bytes)
{
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

inline QStringList FileLines(const QString& path)
{
    return SplitLines(ReadBytes(path));
}

// Every line of every program-log generation under a program folder, oldest
// generation first.
inline QStringList ProgramLogLines(const QString& programFolder)
{
    const QDir diags(programFolder + QStringLiteral("/Diags"));
    QStringList lines;
    for (const QString& name : diags.entryList(QDir::Files, QDir::Name))
        lines += FileLines(diags.filePath(name));
    return lines;
}

}  // namespace brezmor
