#include "settings/setting_table.h"

#include <QtGlobal>

#include <array>
#include <cstdint>

namespace brezmor {
namespace {

using S = Setting;

constexpr const char* kStation = "Station";
constexpr const char* kWebSite = "Web Site";
// Part of the FTP keys were always written under "FTP Site"; names match
// without regard to case, so it is the one section, created as "FTP site".
constexpr const char* kFtp = "FTP site";
constexpr const char* kDisplay = "Display";
constexpr const char* kWunderground = "Wunderground";
constexpr const char* kPws = "PWSweather";
constexpr const char* kAprs = "APRS";
constexpr const char* kGraphs = "Graphs";
constexpr const char* kAlarms = "Alarms";
constexpr const char* kOffsets = "Offsets";
constexpr const char* kXap = "xAP";

constexpr SettingDefinition integer(Setting id, const char* section, const char* key, int value)
{
    return {id, section, key, SettingType::Int, value};
}

constexpr SettingDefinition flag(Setting id, const char* section, const char* key, bool value)
{
    return {id, section, key, SettingType::Bool, value ? 1 : 0};
}

constexpr SettingDefinition single(Setting id, const char* section, const char* key, double value)
{
    return {id, section, key, SettingType::Single, 0, value};
}

constexpr SettingDefinition real(Setting id, const char* section, const char* key, double value)
{
    return {id, section, key, SettingType::Double, 0, value};
}

constexpr SettingDefinition text(Setting id, const char* section, const char* key, const char* value = "")
{
    return {id, section, key, SettingType::String, 0, 0.0, value};
}

constexpr SettingDefinition dateTime(Setting id, const char* section, const char* key)
{
    return {id, section, key, SettingType::DateTime};
}

constexpr SettingDefinition withRuntimeDefault(SettingDefinition definition, RuntimeDefault runtimeDefault)
{
    definition.runtimeDefault = runtimeDefault;
    return definition;
}

constexpr SettingDefinition alertSound(Setting id, const char* section, const char* key)
{
    return withRuntimeDefault(text(id, section, key), RuntimeDefault::AlertSound);
}

constexpr SettingDefinition readOnly(SettingDefinition definition)
{
    definition.readOnly = true;
    return definition;
}

// Colours are 0x00BBGGRR; a top byte of 0xFF names a system colour by the
// index in the low byte. The file holds them as signed decimals.
constexpr int colour(std::uint32_t value)
{
    return static_cast<int>(value);
}

constexpr std::array<SettingDefinition, kSettingCount> kTable{
    integer(S::Type, kStation, "Type", -1),
    text(S::Model, kStation, "Model"),
    integer(S::StationPort, kStation, "Port", 0),
    real(S::Latitude, kStation, "Latitude", 0.0),
    real(S::Longitude, kStation, "Longitude", 0.0),
    text(S::LatTxt, kStation, "LatTxt"),
    text(S::LonTxt, kStation, "LonTxt"),
    integer(S::Altitude, kStation, "Altitude", 0),
    flag(S::AltitudeInFeet, kStation, "AltitudeInFeet", true),
    flag(S::Humidity98Fix, kStation, "Humidity98Fix", false),
    flag(S::Wind10MinAverage, kStation, "Wind10MinAverage", false),
    flag(S::CalculatedDP, kStation, "CalculatedDP", false),
    flag(S::CalculatedWC, kStation, "CalculatedWC", false),
    integer(S::RolloverHour, kStation, "RolloverHour", 0),
    flag(S::ConfirmClose, kStation, "ConfirmClose", true),
    flag(S::CloseOnSuspend, kStation, "CloseOnSuspend", true),
    flag(S::SyncDavisClock, kStation, "SyncDavisClock", false),
    integer(S::DataLogInterval, kStation, "DataLogInterval", 2),
    integer(S::WindUnit, kStation, "WindUnit", 0),
    integer(S::PressureUnit, kStation, "PressureUnit", 0),
    integer(S::RainUnit, kStation, "RainUnit", 0),
    integer(S::TempUnit, kStation, "TempUnit", 0),
    text(S::LocName, kStation, "LocName"),
    text(S::LocDesc, kStation, "LocDesc"),
    withRuntimeDefault(text(S::StartDate, kStation, "StartDate"), RuntimeDefault::Today),
    real(S::WindComp, kStation, "WindComp", 1.0),
    withRuntimeDefault(dateTime(S::LastLoggerDownload, kStation, "LastLoggerDownload"), RuntimeDefault::YearAgo),
    single(S::YTDrain, kStation, "YTDrain", 0.0),
    integer(S::YTDrainyear, kStation, "YTDrainyear", 0),
    integer(S::EWInterval, kStation, "EWInterval", 0),
    text(S::EWFile, kStation, "EWFile"),
    flag(S::UseDataLogger, kStation, "UseDataLogger", true),
    flag(S::UseBrezmorForecast, kStation, "UseBrezmorForecast", false),
    flag(S::UseBrezmorPresstrendstr, kStation, "UseBrezmorPresstrendstr", false),
    flag(S::FCpressinMB, kStation, "FCpressinMB", true),
    single(S::FClowpress, kStation, "FClowpress", 950.0),
    single(S::FChighpress, kStation, "FChighpress", 1050.0),
    flag(S::ForceVPBarUpdate, kStation, "ForceVPBarUpdate", false),
    flag(S::UseZeroBearing, kStation, "UseZeroBearing", false),
    text(S::ComPortName, kStation, "ComPortName"),
    readOnly(flag(S::EWFF, kStation, "EWFF", false)),
    readOnly(single(S::EWtempdiff, kStation, "EWtempdiff", 999.0)),
    readOnly(flag(S::StationLogging, kStation, "Logging", false)),
    readOnly(flag(S::SpecialLog, kStation, "SpecialLog", false)),

    text(S::ForumURL, kWebSite, "ForumURL", "https://forum.brezmor.example/"),
    text(S::WebcamURL, kWebSite, "WebcamURL", "https://www.brezmor.example/webcam.html"),

    text(S::Host, kFtp, "Host"),
    integer(S::FtpPort, kFtp, "Port", 21),
    text(S::Username, kFtp, "Username"),
    text(S::FtpPassword, kFtp, "Password"),
    text(S::Directory, kFtp, "Directory"),
    flag(S::AutoUpdate, kFtp, "AutoUpdate", false),
    flag(S::ActiveFTP, kFtp, "ActiveFTP", false),
    flag(S::EnableRealtime, kFtp, "EnableRealtime", false),
    integer(S::RealtimeInterval, kFtp, "RealtimeInterval", 3000),
    integer(S::UpdateInterval, kFtp, "UpdateInterval", 15),
    flag(S::IncludeSTD, kFtp, "IncludeSTD", true),
    flag(S::IncludeSTDImages, kFtp, "IncludeSTDImages", true),
    flag(S::FTPRename, kFtp, "FTPRename", false),
    flag(S::DeleteBeforeUpload, kFtp, "DeleteBeforeUpload", false),
    flag(S::ResizeGraphs, kFtp, "ResizeGraphs", false),
    integer(S::GraphHeight, kFtp, "GraphHeight", 300),
    integer(S::GraphWidth, kFtp, "GraphWidth", 750),
    text(S::ExtraLocal0, kFtp, "ExtraLocal0"),
    text(S::ExtraRemote0, kFtp, "ExtraRemote0"),
    flag(S::ExtraProcess0, kFtp, "ExtraProcess0", false),
    flag(S::ExtraBinary0, kFtp, "ExtraBinary0", false),
    flag(S::ExtraRealtime0, kFtp, "ExtraRealtime0", false),
    text(S::ExtraLocal1, kFtp, "ExtraLocal1"),
    text(S::ExtraRemote1, kFtp, "ExtraRemote1"),
    flag(S::ExtraProcess1, kFtp, "ExtraProcess1", false),
    flag(S::ExtraBinary1, kFtp, "ExtraBinary1", false),
    flag(S::ExtraRealtime1, kFtp, "ExtraRealtime1", false),
    text(S::ExtraLocal2, kFtp, "ExtraLocal2"),
    text(S::ExtraRemote2, kFtp, "ExtraRemote2"),
    flag(S::ExtraProcess2, kFtp, "ExtraProcess2", false),
    flag(S::ExtraBinary2, kFtp, "ExtraBinary2", false),
    flag(S::ExtraRealtime2, kFtp, "ExtraRealtime2", false),
    text(S::ExtraLocal3, kFtp, "ExtraLocal3"),
    text(S::ExtraRemote3, kFtp, "ExtraRemote3"),
    flag(S::ExtraProcess3, kFtp, "ExtraProcess3", false),
    flag(S::ExtraBinary3, kFtp, "ExtraBinary3", false),
    flag(S::ExtraRealtime3, kFtp, "ExtraRealtime3", false),
    text(S::ExtraLocal4, kFtp, "ExtraLocal4"),
    text(S::ExtraRemote4, kFtp, "ExtraRemote4"),
    flag(S::ExtraProcess4, kFtp, "ExtraProcess4", false),
    flag(S::ExtraBinary4, kFtp, "ExtraBinary4", false),
    flag(S::ExtraRealtime4, kFtp, "ExtraRealtime4", false),
    text(S::ExtraLocal5, kFtp, "ExtraLocal5"),
    text(S::ExtraRemote5, kFtp, "ExtraRemote5"),
    flag(S::ExtraProcess5, kFtp, "ExtraProcess5", false),
    flag(S::ExtraBinary5, kFtp, "ExtraBinary5", false),
    flag(S::ExtraRealtime5, kFtp, "ExtraRealtime5", false),
    text(S::ExtraLocal6, kFtp, "ExtraLocal6"),
    text(S::ExtraRemote6, kFtp, "ExtraRemote6"),
    flag(S::ExtraProcess6, kFtp, "ExtraProcess6", false),
    flag(S::ExtraBinary6, kFtp, "ExtraBinary6", false),
    flag(S::ExtraRealtime6, kFtp, "ExtraRealtime6", false),
    text(S::ExtraLocal7, kFtp, "ExtraLocal7"),
    text(S::ExtraRemote7, kFtp, "ExtraRemote7"),
    flag(S::ExtraProcess7, kFtp, "ExtraProcess7", false),
    flag(S::ExtraBinary7, kFtp, "ExtraBinary7", false),
    flag(S::ExtraRealtime7, kFtp, "ExtraRealtime7", false),
    text(S::ExtraLocal8, kFtp, "ExtraLocal8"),
    text(S::ExtraRemote8, kFtp, "ExtraRemote8"),
    flag(S::ExtraProcess8, kFtp, "ExtraProcess8", false),
    flag(S::ExtraBinary8, kFtp, "ExtraBinary8", false),
    flag(S::ExtraRealtime8, kFtp, "ExtraRealtime8", false),
    text(S::ExtraLocal9, kFtp, "ExtraLocal9"),
    text(S::ExtraRemote9, kFtp, "ExtraRemote9"),
    flag(S::ExtraProcess9, kFtp, "ExtraProcess9", false),
    flag(S::ExtraBinary9, kFtp, "ExtraBinary9", false),
    flag(S::ExtraRealtime9, kFtp, "ExtraRealtime9", false),

    text(S::Heading, kDisplay, "Heading", "My Weather"),
    flag(S::MinimizeToTray, kDisplay, "MinimizeToTray", false),
    flag(S::ForecastCentred, kDisplay, "ForecastCentred", false),
    integer(S::FontColour, kDisplay, "FontColour", colour(0x4080FF)),
    integer(S::BackColour, kDisplay, "BackColour", colour(0xC0C0C0)),
    integer(S::HeadingColour, kDisplay, "HeadingColour", colour(0xA00000)),
    // The system's button-face colour.
    integer(S::ClockColour, kDisplay, "ClockColour", colour(0xFF00000F)),
    flag(S::DisplaySolarData, kDisplay, "DisplaySolarData", false),

    text(S::WundergroundID, kWunderground, "ID"),
    text(S::WundergroundPassword, kWunderground, "Password"),
    flag(S::WundergroundEnabled, kWunderground, "Enabled", false),
    flag(S::RapidFire, kWunderground, "RapidFire", false),
    integer(S::WundergroundInterval, kWunderground, "Interval", 15),
    readOnly(flag(S::WundergroundLogging, kWunderground, "Logging", false)),

    text(S::PwsID, kPws, "ID"),
    text(S::PwsPassword, kPws, "Password"),
    flag(S::PwsEnabled, kPws, "Enabled", false),
    integer(S::PwsInterval, kPws, "Interval", 15),

    text(S::AprsID, kAprs, "ID"),
    // The APRS-IS pass code of a login that has no verified one.
    text(S::pass, kAprs, "pass", "-1"),
    text(S::server, kAprs, "server", "cwop.aprs.net"),
    text(S::AprsPort, kAprs, "port", "14580"),
    flag(S::AprsEnabled, kAprs, "Enabled", false),
    integer(S::AprsInterval, kAprs, "Interval", 9),

    integer(S::GraphHours, kGraphs, "GraphHours", 12),
    integer(S::Background, kGraphs, "Background", colour(0xC0C0C0)),
    integer(S::WindColour, kGraphs, "WindColour", colour(0x00FFFF)),
    integer(S::GustColour, kGraphs, "GustColour", colour(0x808000)),
    integer(S::RainColour, kGraphs, "RainColour", colour(0x9161C9)),
    integer(S::RainTodayColour, kGraphs, "RainTodayColour", colour(0x9161C9)),
    integer(S::TempColour, kGraphs, "TempColour", colour(0x9161C9)),
    integer(S::PressColour, kGraphs, "PressColour", colour(0x9161C9)),
    integer(S::WindDirColour, kGraphs, "WindDirColour", colour(0x0000FF)),
    integer(S::DewPointColour, kGraphs, "DewPointColour", colour(0x0000FF)),
    integer(S::MinTempColour, kGraphs, "MinTempColour", colour(0xFF0000)),
    integer(S::MaxTempColour, kGraphs, "MaxTempColour", colour(0x0000FF)),
    integer(S::AvgTempColour, kGraphs, "AvgTempColour", colour(0x008000)),
    integer(S::DailyRainColour, kGraphs, "DailyRainColour", colour(0x008000)),
    integer(S::InsideTempColour, kGraphs, "InsideTempColour", colour(0xFF0000)),
    integer(S::InsideHumColour, kGraphs, "InsideHumColour", colour(0x0000FF)),
    integer(S::OutsideHumColour, kGraphs, "OutsideHumColour", colour(0xFF0000)),
    flag(S::Graph3D, kGraphs, "Graph3D", false),
    flag(S::PlotLatestGust, kGraphs, "PlotLatestGust", false),

    single(S::alarmlowtemp, kAlarms, "alarmlowtemp", 0.0),
    flag(S::LowTempAlarmSet, kAlarms, "LowTempAlarmSet", false),
    flag(S::LowTempAlarmSound, kAlarms, "LowTempAlarmSound", false),
    alertSound(S::LowTempAlarmSoundFile, kAlarms, "LowTempAlarmSoundFile"),
    single(S::alarmhightemp, kAlarms, "alarmhightemp", 0.0),
    flag(S::HighTempAlarmSet, kAlarms, "HighTempAlarmSet", false),
    flag(S::HighTempAlarmSound, kAlarms, "HighTempAlarmSound", false),
    alertSound(S::HighTempAlarmSoundFile, kAlarms, "HighTempAlarmSoundFile"),
    single(S::alarmlowpress, kAlarms, "alarmlowpress", 0.0),
    flag(S::LowPressAlarmSet, kAlarms, "LowPressAlarmSet", false),
    flag(S::LowPressAlarmSound, kAlarms, "LowPressAlarmSound", false),
    alertSound(S::LowPressAlarmSoundFile, kAlarms, "LowPressAlarmSoundFile"),
    single(S::alarmhighpress, kAlarms, "alarmhighpress", 0.0),
    flag(S::HighPressAlarmSet, kAlarms, "HighPressAlarmSet", false),
    flag(S::HighPressAlarmSound, kAlarms, "HighPressAlarmSound", false),
    alertSound(S::HighPressAlarmSoundFile, kAlarms, "HighPressAlarmSoundFile"),
    single(S::alarmhighraintoday, kAlarms, "alarmhighraintoday", 0.0),
    flag(S::HighRainTodayAlarmSet, kAlarms, "HighRainTodayAlarmSet", false),
    flag(S::HighRainTodayAlarmSound, kAlarms, "HighRainTodayAlarmSound", false),
    alertSound(S::HighRainTodayAlarmSoundFile, kAlarms, "HighRainTodayAlarmSoundFile"),
    single(S::alarmhighrainrate, kAlarms, "alarmhighrainrate", 0.0),
    flag(S::HighRainRateAlarmSet, kAlarms, "HighRainRateAlarmSet", false),
    flag(S::HighRainRateAlarmSound, kAlarms, "HighRainRateAlarmSound", false),
    alertSound(S::HighRainRateAlarmSoundFile, kAlarms, "HighRainRateAlarmSoundFile"),
    single(S::alarmhighgust, kAlarms, "alarmhighgust", 0.0),
    flag(S::HighGustAlarmSet, kAlarms, "HighGustAlarmSet", false),
    flag(S::HighGustAlarmSound, kAlarms, "HighGustAlarmSound", false),
    alertSound(S::HighGustAlarmSoundFile, kAlarms, "HighGustAlarmSoundFile"),
    single(S::alarmhighwind, kAlarms, "alarmhighwind", 0.0),
    flag(S::HighWindAlarmSet, kAlarms, "HighWindAlarmSet", false),
    flag(S::HighWindAlarmSound, kAlarms, "HighWindAlarmSound", false),
    alertSound(S::HighWindAlarmSoundFile, kAlarms, "HighWindAlarmSoundFile"),

    single(S::PressOffset, kOffsets, "PressOffset", 0.0),
    single(S::TempOffset, kOffsets, "TempOffset", 0.0),
    integer(S::HumOffset, kOffsets, "HumOffset", 0),
    integer(S::WindDirOffset, kOffsets, "WindDirOffset", 0),
    single(S::WindSpeedMult, kOffsets, "WindSpeedMult", 1.0),
    single(S::WindGustMult, kOffsets, "WindGustMult", 1.0),
    single(S::TempMult, kOffsets, "TempMult", 1.0),
    single(S::HumMult, kOffsets, "HumMult", 1.0),
    single(S::RainMult, kOffsets, "RainMult", 1.0),

    flag(S::XapEnabled, kXap, "Enabled", false),
    text(S::UID, kXap, "UID", "4375"),
    text(S::XapPort, kXap, "Port", "3639"),
};

// Accessors index the table by enumerator, so a row out of place would hand
// out another key's definition.
constexpr bool rowsInEnumeratorOrder()
{
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        if (kTable[i].id != static_cast<Setting>(i))
            return false;
    }
    return true;
}
static_assert(rowsInEnumeratorOrder(), "rows in the order of the Setting enumerators");

constexpr int kExtraFieldCount = 5;
constexpr int kAlarmFieldCount = 4;

Setting extraField(Setting entryZeroField, int n)
{
    Q_ASSERT(n >= 0 && n < kExtraFileCount);
    return static_cast<Setting>(static_cast<int>(entryZeroField) + n * kExtraFieldCount);
}

Setting alarmField(Setting firstAlarmField, int n)
{
    Q_ASSERT(n >= 0 && n < kAlarmCount);
    return static_cast<Setting>(static_cast<int>(firstAlarmField) + n * kAlarmFieldCount);
}

}  // namespace

std::span<const SettingDefinition> settingTable()
{
    return kTable;
}

const SettingDefinition& definitionOf(Setting setting)
{
    Q_ASSERT(setting != Setting::Count);
    return kTable[static_cast<std::size_t>(setting)];
}

Setting extraLocal(int n)
{
    return extraField(Setting::ExtraLocal0, n);
}

Setting extraRemote(int n)
{
    return extraField(Setting::ExtraRemote0, n);
}

Setting extraProcess(int n)
{
    return extraField(Setting::ExtraProcess0, n);
}

Setting extraBinary(int n)
{
    return extraField(Setting::ExtraBinary0, n);
}

Setting extraRealtime(int n)
{
    return extraField(Setting::ExtraRealtime0, n);
}

Setting alarmThreshold(int n)
{
    return alarmField(Setting::alarmlowtemp, n);
}

Setting alarmSet(int n)
{
    return alarmField(Setting::LowTempAlarmSet, n);
}

Setting alarmSound(int n)
{
    return alarmField(Setting::LowTempAlarmSound, n);
}

Setting alarmSoundFile(int n)
{
    return alarmField(Setting::LowTempAlarmSoundFile, n);
}

}  // namespace brezmor
