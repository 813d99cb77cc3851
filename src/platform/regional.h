#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

namespace brezmor {

// The computer's regional settings, read once at start-up and passed to
// everything that writes or reads text files: data files use the regional
// list and decimal separators, dates and times the regional separators.
struct RegionalSettings {
    QChar decimalSeparator = u'.';
    // "," unless the decimal separator is itself a comma, then ";".
    QChar listSeparator = u',';
    QChar dateSeparator = u'/';
    QChar timeSeparator = u':';
    // Qt date-format patterns of the locale ("dd/MM/yyyy", "HH:mm:ss").
    QString shortDateFormat = QStringLiteral("dd/MM/yyyy");
    QString longTimeFormat = QStringLiteral("HH:mm:ss");
    QString shortTimeFormat = QStringLiteral("HH:mm");
    QLocale locale = QLocale::c();

    [[nodiscard]] static RegionalSettings fromLocale(const QLocale& locale);
    [[nodiscard]] static RegionalSettings fromSystem();
};

}  // namespace brezmor
