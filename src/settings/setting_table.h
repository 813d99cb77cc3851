#pragma once

#include <cstddef>
#include <span>

namespace brezmor {

enum class SettingType { Int, Bool, Single, Double, DateTime, String };

// One enumerator per key of the settings file, in the order the file is
// written. The enumerator is the key name; a key name that occurs in more
// than one section (names are matched without regard to case, so APRS "port"
// counts as "Port") carries its section as a prefix: Station, Ftp,
// Wunderground, Pws (PWSweather), Aprs, Xap.
enum class Setting {
    // Station, in the order SaveSettings writes it.
    Type,
    Model,
    StationPort,
    Latitude,
    Longitude,
    LatTxt,
    LonTxt,
    Altitude,
    AltitudeInFeet,
    Humidity98Fix,
    Wind10MinAverage,
    CalculatedDP,
    CalculatedWC,
    RolloverHour,
    ConfirmClose,
    CloseOnSuspend,
    SyncDavisClock,
    DataLogInterval,
    WindUnit,
    PressureUnit,
    RainUnit,
    TempUnit,
    LocName,
    LocDesc,
    StartDate,
    WindComp,
    LastLoggerDownload,
    YTDrain,
    YTDrainyear,
    EWInterval,
    EWFile,
    UseDataLogger,
    UseBrezmorForecast,
    UseBrezmorPresstrendstr,
    FCpressinMB,
    FClowpress,
    FChighpress,
    ForceVPBarUpdate,
    UseZeroBearing,
    // Any serial device by name ("/dev/ttyUSB0", a pseudo-terminal); wins over
    // StationPort when set.
    ComPortName,
    // Station keys typed by hand and only ever read.
    EWFF,
    EWtempdiff,
    StationLogging,
    SpecialLog,

    // Web Site
    ForumURL,
    WebcamURL,

    // FTP site
    Host,
    FtpPort,
    Username,
    FtpPassword,
    Directory,
    AutoUpdate,
    ActiveFTP,
    EnableRealtime,
    RealtimeInterval,
    UpdateInterval,
    IncludeSTD,
    IncludeSTDImages,
    FTPRename,
    DeleteBeforeUpload,
    ResizeGraphs,
    GraphHeight,
    GraphWidth,
    // The ten extra files, the five keys of each entry together; see extraLocal() and friends.
    ExtraLocal0, ExtraRemote0, ExtraProcess0, ExtraBinary0, ExtraRealtime0,
    ExtraLocal1, ExtraRemote1, ExtraProcess1, ExtraBinary1, ExtraRealtime1,
    ExtraLocal2, ExtraRemote2, ExtraProcess2, ExtraBinary2, ExtraRealtime2,
    ExtraLocal3, ExtraRemote3, ExtraProcess3, ExtraBinary3, ExtraRealtime3,
    ExtraLocal4, ExtraRemote4, ExtraProcess4, ExtraBinary4, ExtraRealtime4,
    ExtraLocal5, ExtraRemote5, ExtraProcess5, ExtraBinary5, ExtraRealtime5,
    ExtraLocal6, ExtraRemote6, ExtraProcess6, ExtraBinary6, ExtraRealtime6,
    ExtraLocal7, ExtraRemote7, ExtraProcess7, ExtraBinary7, ExtraRealtime7,
    ExtraLocal8, ExtraRemote8, ExtraProcess8, ExtraBinary8, ExtraRealtime8,
    ExtraLocal9, ExtraRemote9, ExtraProcess9, ExtraBinary9, ExtraRealtime9,

    // Display
    Heading,
    MinimizeToTray,
    ForecastCentred,
    FontColour,
    BackColour,
    HeadingColour,
    ClockColour,
    DisplaySolarData,

    // Wunderground
    WundergroundID,
    WundergroundPassword,
    WundergroundEnabled,
    RapidFire,
    WundergroundInterval,
    WundergroundLogging,

    // PWSweather
    PwsID,
    PwsPassword,
    PwsEnabled,
    PwsInterval,

    // APRS
    AprsID,
    pass,
    server,
    AprsPort,
    AprsEnabled,
    AprsInterval,

    // Graphs
    GraphHours,
    Background,
    WindColour,
    GustColour,
    RainColour,
    RainTodayColour,
    TempColour,
    PressColour,
    WindDirColour,
    DewPointColour,
    MinTempColour,
    MaxTempColour,
    AvgTempColour,
    DailyRainColour,
    InsideTempColour,
    InsideHumColour,
    OutsideHumColour,
    Graph3D,
    PlotLatestGust,

    // Alarms: threshold, enabled, sound on, sound file, for each of the eight
    // alarms; see alarmThreshold() and friends.
    alarmlowtemp, LowTempAlarmSet, LowTempAlarmSound, LowTempAlarmSoundFile,
    alarmhightemp, HighTempAlarmSet, HighTempAlarmSound, HighTempAlarmSoundFile,
    alarmlowpress, LowPressAlarmSet, LowPressAlarmSound, LowPressAlarmSoundFile,
    alarmhighpress, HighPressAlarmSet, HighPressAlarmSound, HighPressAlarmSoundFile,
    alarmhighraintoday, HighRainTodayAlarmSet, HighRainTodayAlarmSound, HighRainTodayAlarmSoundFile,
    alarmhighrainrate, HighRainRateAlarmSet, HighRainRateAlarmSound, HighRainRateAlarmSoundFile,
    alarmhighgust, HighGustAlarmSet, HighGustAlarmSound, HighGustAlarmSoundFile,
    alarmhighwind, HighWindAlarmSet, HighWindAlarmSound, HighWindAlarmSoundFile,

    // Offsets
    PressOffset,
    TempOffset,
    HumOffset,
    WindDirOffset,
    WindSpeedMult,
    WindGustMult,
    TempMult,
    HumMult,
    RainMult,

    // xAP
    XapEnabled,
    UID,
    XapPort,

    Count
};

inline constexpr std::size_t kSettingCount = static_cast<std::size_t>(Setting::Count);
inline constexpr int kExtraFileCount = 10;
inline constexpr int kAlarmCount = 8;

// Defaults that depend on the moment of loading or on where the program lies.
enum class RuntimeDefault {
    None,
    // Today's date in the locale's short date format.
    Today,
    // The moment of loading less 365 days.
    YearAgo,
    // The program folder followed by "alert.wav".
    AlertSound,
};

struct SettingDefinition {
    Setting id;
    const char* section;
    const char* key;
    SettingType type;
    int intDefault = 0;            // Int and Bool
    double realDefault = 0.0;      // Single, Double and DateTime
    const char* textDefault = "";  // String
    RuntimeDefault runtimeDefault = RuntimeDefault::None;
    // Read from the file but never written, so a hand-typed value survives every save.
    bool readOnly = false;
};

// The one table of the settings file, one row per Setting in enumerator
// order, which is also the order in which sections and keys are written.
[[nodiscard]] std::span<const SettingDefinition> settingTable();
[[nodiscard]] const SettingDefinition& definitionOf(Setting setting);

// Extra file n (0 to 9).
[[nodiscard]] Setting extraLocal(int n);
[[nodiscard]] Setting extraRemote(int n);
[[nodiscard]] Setting extraProcess(int n);
[[nodiscard]] Setting extraBinary(int n);
[[nodiscard]] Setting extraRealtime(int n);

// Alarm n (0 to 7) in the order low temperature, high temperature, low
// pressure, high pressure, high rain today, high rain rate, high gust, high wind.
[[nodiscard]] Setting alarmThreshold(int n);
[[nodiscard]] Setting alarmSet(int n);
[[nodiscard]] Setting alarmSound(int n);
[[nodiscard]] Setting alarmSoundFile(int n);

}  // namespace brezmor
