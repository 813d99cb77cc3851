#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace brezmor {

// Every text file of the program is 8-bit Windows-1252, as files moved from
// the station's older software are. A character the code page lacks is
// written as "?".
[[nodiscard]] QString fromWindows1252(QByteArrayView bytes);
[[nodiscard]] QByteArray toWindows1252(QStringView text);

}  // namespace brezmor
