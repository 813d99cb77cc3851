#pragma once

#include "platform/datetime.h"
#include "platform/regional.h"
#include "settings/setting_table.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <variant>

namespace brezmor {

// The settings store: every key of the settings file, held under its Setting
// with the type and default of the setting table. Reading a value is an
// array lookup, cheap enough for every station reading.
//
// The store is filled once by load() at start-up and changed on the main
// thread only (dialogs, colour commands, the diagnostic-log switch). The
// station reader threads read a few values, which change only when a dialog
// is confirmed; no lock guards them.
class Settings {
public:
    // Until load() runs every setting holds its table default, StartDate is
    // empty and LastLoggerDownload is 0.
    Settings(QString filePath, RegionalSettings regional, QString programFolder);

    // LoadSettings. A missing file, section or key gives the default, and so
    // does a value that does not parse; `now` supplies the defaults of
    // StartDate and LastLoggerDownload. Returns one line for each problem
    // found (a file that cannot be read, a value that does not parse or is
    // out of range), for the program log. A file that exists but cannot be
    // read leaves the store at its defaults and blocks save() for the run,
    // so those defaults never replace the settings in it.
    QStringList load(TDateTime now);

    // SaveSettings: writes every key that is not read only, in table order,
    // into the file as it is now on disk. Comments, unknown keys and
    // sections, read-only keys and lines that are not understood all stay as
    // they are. The new file replaces the old one in one step, so a crash or
    // power cut leaves either the old file or the new one. Returns false,
    // with the reason in `error`, when the file could not be written; the
    // values in memory stay as set.
    [[nodiscard]] bool save(QString* error = nullptr) const;

    // Each accessor matches one SettingType (DateTime for dateTime()); asking
    // for a setting by the wrong type is a programming error.
    [[nodiscard]] int integer(Setting setting) const;
    [[nodiscard]] bool boolean(Setting setting) const;
    [[nodiscard]] float single(Setting setting) const;
    [[nodiscard]] double real(Setting setting) const;
    [[nodiscard]] QString text(Setting setting) const;
    [[nodiscard]] TDateTime dateTime(Setting setting) const;

    void setInteger(Setting setting, int value);
    void setBoolean(Setting setting, bool value);
    void setSingle(Setting setting, float value);
    void setReal(Setting setting, double value);
    void setText(Setting setting, QString value);
    void setDateTime(Setting setting, TDateTime value);

    [[nodiscard]] const QString& filePath() const { return m_filePath; }
    [[nodiscard]] const QString& programFolder() const { return m_programFolder; }
    [[nodiscard]] const RegionalSettings& regional() const { return m_regional; }

private:
    // DateTime values are held as double, like Double ones.
    using Value = std::variant<int, bool, float, double, QString>;

    void setDefaults(std::optional<TDateTime> now);
    [[nodiscard]] Value defaultValue(const SettingDefinition& definition, std::optional<TDateTime> now) const;
    [[nodiscard]] std::optional<Value> parseValue(const SettingDefinition& definition, const QString& text) const;
    [[nodiscard]] QString valueText(const SettingDefinition& definition) const;
    void applyReadRules(QStringList& problems);

    template <typename T>
    [[nodiscard]] T valueAs(Setting setting, SettingType type) const;
    template <typename T>
    void store(Setting setting, SettingType type, T value);

    QString m_filePath;
    RegionalSettings m_regional;
    QString m_programFolder;
    std::array<Value, kSettingCount> m_values;
    bool m_fileUnreadable = false;
};

}  // namespace brezmor
