#include "platform/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace brezmor {

std::optional<QString> WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    // Unbuffered, because a buffered QSaveFile only meets a full disk when it
    // flushes inside commit(), which then renames the short file into place
    // and reports success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        const QString problem = file.error() != QFileDevice::NoError
                                    ? file.errorString()
                                    : QStringLiteral("only %1 of %2 bytes could be written")
                                          .arg(std::max<qint64>(written, 0))
                                          .arg(bytes.size());
        file.cancelWriting();
        return problem;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

}  // namespace brezmor
