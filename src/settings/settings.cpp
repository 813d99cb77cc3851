#include "settings/settings.h"
#include "platform/windows1252.h"

#include "platform/atomic_file.h"

#include "settings/ini_text.h"
#include "settings/setting_values.h"

#include <QDir>
#include <QFile>

#include <utility>

namespace brezmor {
namespace {

constexpr double kDaysPerYear = 365.0;
constexpr int kLargestDataLogInterval = 5;
constexpr int kTenMinuteDataLogInterval = 2;

std::size_t indexOf(Setting setting)
{
    return static_cast<std::size_t>(setting);
}

QString typeName(SettingType type)
{
    switch (type) {
    case SettingType::Int:
        return QStringLiteral("whole number");
    case SettingType::Bool:
        return QStringLiteral("0 or 1");
    case SettingType::Single:
    case SettingType::Double:
        return QStringLiteral("number");
    case SettingType::DateTime:
        return QStringLiteral("date and time");
    case SettingType::String:
        break;
    }
    return QStringLiteral("text");
}

// The whole file, or nullopt with the reason in `error`.
std::optional<QByteArray> readWholeFile(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

Settings::Settings(QString filePath, RegionalSettings regional, QString programFolder)
    : m_filePath(std::move(filePath)), m_regional(std::move(regional)), m_programFolder(std::move(programFolder))
{
    setDefaults(std::nullopt);
}

QStringList Settings::load(TDateTime now)
{
    setDefaults(now);
    m_fileUnreadable = false;
    QStringList problems;
    if (!QFile::exists(m_filePath))
        return problems;

    QString readError;
    const std::optional<QByteArray> bytes = readWholeFile(m_filePath, readError);
    IniValues values;
    if (!bytes || !values.parse(*bytes)) {
        m_fileUnreadable = true;
        problems << QStringLiteral("Settings file %1 could not be read (%2); the defaults are used and the file is "
                                   "not saved over")
                        .arg(m_filePath, bytes ? QStringLiteral("not enough memory") : readError);
        return problems;
    }

    for (const SettingDefinition& definition : settingTable()) {
        const std::optional<QByteArray> raw = values.value(definition.section, definition.key);
        if (!raw)
            continue;
        const QString text = fromWindows1252(*raw);
        if (std::optional<Value> value = parseValue(definition, text)) {
            m_values[indexOf(definition.id)] = std::move(*value);
        } else if (!text.trimmed().isEmpty()) {
            problems << QStringLiteral("Settings file: [%1] %2=%3 is not a %4; the default %5 is used")
                            .arg(QLatin1String(definition.section), QLatin1String(definition.key), text,
                                 typeName(definition.type), valueText(definition));
        }
    }
    applyReadRules(problems);
    return problems;
}

void Settings::applyReadRules(QStringList& problems)
{
    // The web pages show the location texts in HTML, where a plain space
    // could break the line between degrees and minutes.
    for (const Setting setting : {Setting::LatTxt, Setting::LonTxt}) {
        QString text = this->text(setting);
        setText(setting, text.replace(u' ', QStringLiteral("&nbsp;")));
    }

    const int interval = integer(Setting::DataLogInterval);
    if (interval < 0 || interval > kLargestDataLogInterval) {
        problems << QStringLiteral("Settings file: [Station] DataLogInterval=%1 is not between 0 and %2; "
                                   "%3 (10 minutes) is used")
                        .arg(interval)
                        .arg(kLargestDataLogInterval)
                        .arg(kTenMinuteDataLogInterval);
        setInteger(Setting::DataLogInterval, kTenMinuteDataLogInterval);
    }
}

bool Settings::save(QString* error) const
{
    const auto fail = [&](const QString& reason) {
        if (error != nullptr)
            *error = QStringLiteral("Unable to save settings to %1: %2").arg(m_filePath, reason);
        return false;
    };
    if (m_fileUnreadable)
        return fail(QStringLiteral("the file could not be read at start-up, and saving would replace the settings "
                                   "in it with the defaults"));

    // The file as it is now, not as it was at start-up, so that whatever
    // was added to it by hand in the meantime is kept too.
    QByteArray current;
    if (QFile::exists(m_filePath)) {
        QString readError;
        std::optional<QByteArray> bytes = readWholeFile(m_filePath, readError);
        if (!bytes)
            return fail(QStringLiteral("the file could not be read (%1)").arg(readError));
        current = std::move(*bytes);
    }

    IniEditor editor(current);
    for (const SettingDefinition& definition : settingTable()) {
        if (!definition.readOnly)
            editor.setValue(definition.section, definition.key, toWindows1252(valueText(definition)));
    }
    const QByteArray text = editor.text();

    if (const std::optional<QString> problem = WriteFileAtomically(m_filePath, text))
        return fail(*problem);
    return true;
}

void Settings::setDefaults(std::optional<TDateTime> now)
{
    for (const SettingDefinition& definition : settingTable())
        m_values[indexOf(definition.id)] = defaultValue(definition, now);
}

Settings::Value Settings::defaultValue(const SettingDefinition& definition, std::optional<TDateTime> now) const
{
    switch (definition.runtimeDefault) {
    case RuntimeDefault::Today:
        return now ? shortDateText(*now, m_regional) : QString();
    case RuntimeDefault::YearAgo:
        return now ? *now - kDaysPerYear : 0.0;
    case RuntimeDefault::AlertSound:
        return QDir(m_programFolder).filePath(QStringLiteral("alert.wav"));
    case RuntimeDefault::None:
        break;
    }
    switch (definition.type) {
    case SettingType::Int:
        return definition.intDefault;
    case SettingType::Bool:
        return definition.intDefault != 0;
    case SettingType::Single:
        return static_cast<float>(definition.realDefault);
    case SettingType::Double:
    case SettingType::DateTime:
        return definition.realDefault;
    case SettingType::String:
        break;
    }
    return QString::fromLatin1(definition.textDefault);
}

std::optional<Settings::Value> Settings::parseValue(const SettingDefinition& definition, const QString& text) const
{
    switch (definition.type) {
    case SettingType::Int:
        return parseIniInteger(text);
    case SettingType::Bool:
        if (const std::optional<int> value = parseIniInteger(text))
            return *value != 0;
        return std::nullopt;
    case SettingType::Single:
        return parseIniSingle(text, m_regional.decimalSeparator);
    case SettingType::Double:
        return parseIniDouble(text, m_regional.decimalSeparator);
    case SettingType::DateTime:
        return parseIniDateTime(text, m_regional);
    case SettingType::String:
        break;
    }
    return text;
}

QString Settings::valueText(const SettingDefinition& definition) const
{
    const Setting setting = definition.id;
    switch (definition.type) {
    case SettingType::Int:
        return QString::number(integer(setting));
    case SettingType::Bool:
        return boolean(setting) ? QStringLiteral("1") : QStringLiteral("0");
    case SettingType::Single:
        return formatIniSingle(single(setting), m_regional.decimalSeparator);
    case SettingType::Double:
        return formatIniDouble(real(setting), m_regional.decimalSeparator);
    case SettingType::DateTime:
        return formatIniDateTime(dateTime(setting), m_regional);
    case SettingType::String:
        break;
    }
    return text(setting);
}

template <typename T>
T Settings::valueAs(Setting setting, SettingType type) const
{
    Q_ASSERT_X(definitionOf(setting).type == type, "Settings", definitionOf(setting).key);
    const T* value = std::get_if<T>(&m_values[indexOf(setting)]);
    return value != nullptr ? *value : T{};
}

template <typename T>
void Settings::store(Setting setting, SettingType type, T value)
{
    Q_ASSERT_X(definitionOf(setting).type == type, "Settings", definitionOf(setting).key);
    if (definitionOf(setting).type == type)
        m_values[indexOf(setting)] = std::move(value);
}

int Settings::integer(Setting setting) const
{
    return valueAs<int>(setting, SettingType::Int);
}

bool Settings::boolean(Setting setting) const
{
    return valueAs<bool>(setting, SettingType::Bool);
}

float Settings::single(Setting setting) const
{
    return valueAs<float>(setting, SettingType::Single);
}

double Settings::real(Setting setting) const
{
    return valueAs<double>(setting, SettingType::Double);
}

QString Settings::text(Setting setting) const
{
    return valueAs<QString>(setting, SettingType::String);
}

TDateTime Settings::dateTime(Setting setting) const
{
    return valueAs<double>(setting, SettingType::DateTime);
}

void Settings::setInteger(Setting setting, int value)
{
    store(setting, SettingType::Int, value);
}

void Settings::setBoolean(Setting setting, bool value)
{
    store(setting, SettingType::Bool, value);
}

void Settings::setSingle(Setting setting, float value)
{
    store(setting, SettingType::Single, value);
}

void Settings::setReal(Setting setting, double value)
{
    store(setting, SettingType::Double, value);
}

void Settings::setText(Setting setting, QString value)
{
    store(setting, SettingType::String, std::move(value));
}

void Settings::setDateTime(Setting setting, TDateTime value)
{
    store(setting, SettingType::DateTime, value);
}

}  // namespace brezmor
