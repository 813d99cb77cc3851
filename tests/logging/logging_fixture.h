#pragma once

#include "core/diagnostics.h"
#include "core/weather_core.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "settings/settings.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace brezmor {

// A weather core on default settings in a fresh program folder with an
// empty data folder; the debug log is on so that its lines can be checked.
class LoggingTest : public ::testing::Test {
protected:
    // Builds everything for the given regional settings (British by
    // default: "dd/mm/yy", "." decimals, "," between fields).
    void start(const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedKingdom))
    {
        m_core.reset();
        m_diagnostics.reset();
        // A table test starts again for each row: no files of the row before.
        QDir(dataFolder()).removeRecursively();
        QFile::remove(m_folder.filePath(QStringLiteral("debug.log")));
        m_regional = RegionalSettings::fromLocale(locale);
        m_settings = std::make_unique<Settings>(m_folder.filePath(QStringLiteral("Brezmor.ini")), m_regional,
                                                m_folder.path());
        m_diagnostics = std::make_unique<Diagnostics>(m_folder.path(), m_clock);
        m_diagnostics->debug.setEnabled(true);
        QDir(m_folder.path()).mkpath(QStringLiteral("data"));
        m_core = std::make_unique<WeatherCore>(*m_settings, m_clock, m_regional, *m_diagnostics, dataFolder());
    }

    [[nodiscard]] QString dataFolder() const { return m_folder.filePath(QStringLiteral("data")); }
    [[nodiscard]] QString dataPath(const QString& name) const { return QDir(dataFolder()).filePath(name); }

    void writeDataFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(dataPath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // The lines of a data file; every line must end in CR LF.
    [[nodiscard]] QStringList dataFileLines(const QString& name) const
    {
        const QByteArray bytes = ReadBytes(dataPath(name));
        EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n")) << name.toStdString();
        return SplitLines(bytes);
    }

    // The program log without each line's time stamp.
    [[nodiscard]] QStringList programLogLines() const
    {
        static const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d: "));
        QStringList lines = FileLines(m_diagnostics->program.filePath());
        for (QString& line : lines)
            line.remove(stamp);
        return lines;
    }

    [[nodiscard]] QString debugLogText() const
    {
        m_diagnostics->debug.flush();
        return QString::fromLatin1(ReadBytes(m_folder.filePath(QStringLiteral("debug.log"))));
    }

    [[nodiscard]] WeatherCore& core() { return *m_core; }
    [[nodiscard]] CurrentConditions& conditions() { return m_core->conditions(); }
    [[nodiscard]] Settings& settings() { return *m_settings; }

    QTemporaryDir m_folder;
    SimulatedClock m_clock;
    RegionalSettings m_regional;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<Diagnostics> m_diagnostics;
    std::unique_ptr<WeatherCore> m_core;
};

}  // namespace brezmor
