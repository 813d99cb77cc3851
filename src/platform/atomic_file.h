#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace brezmor {

// Replaces a file's content through a temporary file in the same folder and
// a rename, so that a power cut leaves either the old or the new file whole,
// never a truncated one. Creates the folder when missing. Returns why it
// failed, or nothing on success; on failure the old file is untouched.
[[nodiscard]] std::optional<QString> WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace brezmor
