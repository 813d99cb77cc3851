#include "settings/settings.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>

namespace brezmor {
namespace {

// Not a global constant: the day count needs the epoch of another file, which
// may not be set up yet while globals are.
TDateTime now()
{
    return EncodeDateTime(2026, 3, 29, 10, 15, 30);
}

QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

RegionalSettings britishRegional()
{
    return RegionalSettings::fromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

RegionalSettings germanRegional()
{
    return RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QList<QByteArray> linesOf(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    return lines;
}

bool everyLineEndsWithCrLf(const QByteArray& text)
{
    return text.endsWith("\r\n") && text.count('\n') == text.count("\r\n") && text.count('\r') == text.count("\r\n");
}

void expectSameValues(const Settings& expected, const Settings& actual)
{
    for (const SettingDefinition& definition : settingTable()) {
        const Setting s = definition.id;
        switch (definition.type) {
        case SettingType::Int:
            EXPECT_EQ(actual.integer(s), expected.integer(s)) << definition.key;
            break;
        case SettingType::Bool:
            EXPECT_EQ(actual.boolean(s), expected.boolean(s)) << definition.key;
            break;
        case SettingType::Single:
            EXPECT_EQ(actual.single(s), expected.single(s)) << definition.key;
            break;
        case SettingType::Double:
            EXPECT_EQ(actual.real(s), expected.real(s)) << definition.key;
            break;
        case SettingType::DateTime:
            // The long time has whole seconds.
            EXPECT_NEAR(actual.dateTime(s), expected.dateTime(s), 1.0 / kSecondsPerDay) << definition.key;
            break;
        case SettingType::String:
            EXPECT_EQ(actual.text(s), expected.text(s)) << definition.key;
            break;
        }
    }
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    QString path() const { return m_folder.filePath(QStringLiteral("Brezmor.ini")); }
    Settings makeSettings(RegionalSettings regional = britishRegional()) const
    {
        return Settings(path(), std::move(regional), m_folder.path());
    }

    QTemporaryDir m_folder;
};

// A file as a user may have left it: comments, keys and a section the
// program does not know, read-only keys typed by hand, odd values, and the
// FTP section header in its own spelling. The degree signs are Windows-1252.
const QByteArray kHandEditedFile = crlf("; Weather station settings\n"
                                        "; kept by hand, do not lose these notes\n"
                                        "\n"
                                        "[Station]\n"
                                        "Type=1\n"
                                        "Model=Vantage Pro2 Plus\n"
                                        "Port=3\n"
                                        "Latitude=51.4769\n"
                                        "Longitude=-0.0005\n"
                                        "LatTxt=N 51\xB0 28' 37\"\n"
                                        "LonTxt=W  0\xB0 0' 2\"\n"
                                        "Altitude=$1F\n"
                                        "DataLogInterval=0x3\n"
                                        "RolloverHour=garbage\n"
                                        "WindUnit=\n"
                                        "LocName=Caf\xE9 \x80\n"
                                        "StartDate=01/02/2024\n"
                                        "LastLoggerDownload=15/06/2025 14:30:00\n"
                                        "Logging=1\n"
                                        "EWFF=1\n"
                                        "EWtempdiff=5.5\n"
                                        "SpecialLog=1\n"
                                        "MyOwnKey=keep me\n"
                                        "\n"
                                        "[ftp SITE]\n"
                                        "Host=ftp.example.com\n"
                                        "Port=2121\n"
                                        "AutoUpdate=1\n"
                                        "ExtraLocal3=/home/me/extra.htm\n"
                                        "ExtraProcess3=7\n"
                                        "\n"
                                        "; a section nobody knows\n"
                                        "[Plugins]\n"
                                        "Colour=blue\n"
                                        "Note without an equals sign\n"
                                        "\n"
                                        "[Wunderground]\n"
                                        "ID=ABC123\n"
                                        "Logging=1\n"
                                        "\n"
                                        "[Offsets]\n"
                                        "WindSpeedMult=1.1\n"
                                        "TempOffset=-0.5\n"
                                        "; the end\n");

TEST_F(SettingsFileTest, AHandEditedFileIsReadWithItsOddValues)
{
    writeFile(path(), kHandEditedFile);
    Settings settings = makeSettings();
    const QStringList problems = settings.load(now());

    EXPECT_EQ(settings.integer(Setting::Type), 1);
    EXPECT_EQ(settings.text(Setting::Model), "Vantage Pro2 Plus");
    EXPECT_EQ(settings.integer(Setting::StationPort), 3);
    EXPECT_EQ(settings.real(Setting::Latitude), 51.4769);
    EXPECT_EQ(settings.real(Setting::Longitude), -0.0005);
    EXPECT_EQ(settings.text(Setting::LatTxt), QString::fromUtf8("N&nbsp;51°&nbsp;28'&nbsp;37\""));
    EXPECT_EQ(settings.text(Setting::LonTxt), QString::fromUtf8("W&nbsp;&nbsp;0°&nbsp;0'&nbsp;2\""));
    EXPECT_EQ(settings.integer(Setting::Altitude), 31);
    EXPECT_EQ(settings.integer(Setting::DataLogInterval), 3);
    EXPECT_EQ(settings.integer(Setting::RolloverHour), 0);
    EXPECT_EQ(settings.integer(Setting::WindUnit), 0);
    EXPECT_EQ(settings.text(Setting::LocName), QString::fromUtf8("Café €"));
    EXPECT_EQ(settings.text(Setting::StartDate), "01/02/2024");
    EXPECT_EQ(settings.dateTime(Setting::LastLoggerDownload), EncodeDateTime(2025, 6, 15, 14, 30));
    EXPECT_TRUE(settings.boolean(Setting::StationLogging));
    EXPECT_TRUE(settings.boolean(Setting::EWFF));
    EXPECT_EQ(settings.single(Setting::EWtempdiff), 5.5f);
    EXPECT_TRUE(settings.boolean(Setting::SpecialLog));
    EXPECT_EQ(settings.text(Setting::Host), "ftp.example.com");
    EXPECT_EQ(settings.integer(Setting::FtpPort), 2121);
    EXPECT_TRUE(settings.boolean(Setting::AutoUpdate));
    EXPECT_EQ(settings.text(extraLocal(3)), "/home/me/extra.htm");
    EXPECT_TRUE(settings.boolean(extraProcess(3))) << "any non-zero integer is true";
    EXPECT_EQ(settings.text(Setting::WundergroundID), "ABC123");
    EXPECT_TRUE(settings.boolean(Setting::WundergroundLogging));
    EXPECT_EQ(settings.single(Setting::WindSpeedMult), 1.1f);
    EXPECT_EQ(settings.single(Setting::TempOffset), -0.5f);
    EXPECT_EQ(settings.integer(Setting::GraphWidth), 750) << "a key missing from the file";

    // An empty value is as good as a missing one; text that is no number is worth a line in the log.
    ASSERT_EQ(problems.size(), 1) << problems.join(u'\n').toStdString();
    EXPECT_TRUE(problems.front().contains(QStringLiteral("[Station] RolloverHour=garbage is not a whole number; "
                                                         "the default 0 is used")))
        << problems.front().toStdString();
}

TEST_F(SettingsFileTest, SavingKeepsEverythingTheProgramDoesNotOwn)
{
    writeFile(path(), kHandEditedFile);
    Settings settings = makeSettings();
    settings.load(now());
    settings.setBoolean(Setting::StationLogging, false);  // the menu switch, which is never saved
    settings.setInteger(Setting::Altitude, 40);
    QString error;
    ASSERT_TRUE(settings.save(&error)) << error.toStdString();

    const QByteArray saved = ReadBytes(path());
    EXPECT_TRUE(everyLineEndsWithCrLf(saved));
    const QList<QByteArray> lines = linesOf(saved);

    // These lines survive byte for byte and in their order.
    const QList<QByteArray> kept = linesOf(crlf("; Weather station settings\n"
                                                "; kept by hand, do not lose these notes\n"
                                                "\n"
                                                "[Station]\n"
                                                "Logging=1\n"
                                                "EWFF=1\n"
                                                "EWtempdiff=5.5\n"
                                                "SpecialLog=1\n"
                                                "MyOwnKey=keep me\n"
                                                "[ftp SITE]\n"
                                                "; a section nobody knows\n"
                                                "[Plugins]\n"
                                                "Colour=blue\n"
                                                "Note without an equals sign\n"
                                                "[Wunderground]\n"
                                                "Logging=1\n"
                                                "[Offsets]\n"
                                                "; the end\n"));
    qsizetype at = 0;
    for (const QByteArray& line : kept) {
        const qsizetype found = lines.indexOf(line, at);
        EXPECT_GE(found, at) << "lost or moved: " << line.toStdString();
        at = found < 0 ? at : found + 1;
    }

    // The owned keys take the values in memory, in the program's own notation.
    for (const char* line : {"Altitude=40", "DataLogInterval=3", "RolloverHour=0", "LocName=Caf\xE9 \x80",
                             "LatTxt=N&nbsp;51\xB0&nbsp;28'&nbsp;37\"", "Longitude=-0.0005",
                             "LastLoggerDownload=15/06/2025 14:30:00",
                             "WindSpeedMult=1.1", "ExtraProcess3=1", "Port=2121"})
        EXPECT_TRUE(lines.contains(line)) << line;

    // One FTP section, under the header as the user spelt it, holding every FTP key.
    const qsizetype ftp = lines.indexOf("[ftp SITE]");
    const qsizetype plugins = lines.indexOf("; a section nobody knows");
    EXPECT_EQ(saved.toLower().count("[ftp site]"), 1);
    for (const char* key : {"Username=", "GraphWidth=", "ExtraRealtime9="}) {
        const auto line =
            std::find_if(lines.begin(), lines.end(), [&](const QByteArray& l) { return l.startsWith(key); });
        ASSERT_NE(line, lines.end()) << key;
        EXPECT_GT(line - lines.begin(), ftp) << key;
        EXPECT_LT(line - lines.begin(), plugins) << key;
    }

    ASSERT_TRUE(settings.save());
    EXPECT_EQ(ReadBytes(path()), saved) << "a second save changes nothing";

    Settings reloaded = makeSettings();
    reloaded.load(now());
    settings.setBoolean(Setting::StationLogging, true);
    // Read again, the location texts get their spaces replaced once more, which leaves them as they were.
    expectSameValues(settings, reloaded);
}

TEST_F(SettingsFileTest, AFirstRunStartsFromTheDefaultsAndWritesTheSectionsInOrder)
{
    Settings settings = makeSettings();
    EXPECT_TRUE(settings.load(now()).isEmpty());
    EXPECT_EQ(settings.integer(Setting::Type), -1);
    EXPECT_EQ(settings.text(Setting::StartDate), "29/03/2026");
    EXPECT_DOUBLE_EQ(settings.dateTime(Setting::LastLoggerDownload), now() - 365.0);
    EXPECT_EQ(settings.text(Setting::HighWindAlarmSoundFile), QDir(m_folder.path()).filePath("alert.wav"));
    EXPECT_EQ(settings.single(Setting::FClowpress), 950.0f);
    EXPECT_EQ(settings.text(Setting::pass), "-1");
    EXPECT_EQ(settings.text(Setting::XapPort), "3639");
    EXPECT_FALSE(settings.boolean(Setting::AutoUpdate)) << "nothing is uploaded from a new file";
    EXPECT_FALSE(settings.boolean(Setting::WundergroundEnabled));
    EXPECT_FALSE(settings.boolean(Setting::XapEnabled));

    ASSERT_TRUE(settings.save());
    const QByteArray saved = ReadBytes(path());
    EXPECT_TRUE(everyLineEndsWithCrLf(saved));
    const QList<QByteArray> lines = linesOf(saved);

    QList<QByteArray> sections;
    QList<QByteArray> stationKeys;
    for (const QByteArray& line : lines) {
        if (line.startsWith('['))
            sections << line;
        else if (sections.size() == 1)
            stationKeys << line.left(line.indexOf('='));
    }
    EXPECT_EQ(sections, (QList<QByteArray>{"[Station]", "[Web Site]", "[FTP site]", "[Display]", "[Wunderground]",
                                           "[PWSweather]", "[APRS]", "[Graphs]", "[Alarms]", "[Offsets]", "[xAP]"}));
    stationKeys.removeAll("");
    const QList<QByteArray> stationOrder{
        "Type", "Model", "Port", "Latitude", "Longitude", "LatTxt", "LonTxt", "Altitude", "AltitudeInFeet",
        "Humidity98Fix", "Wind10MinAverage", "CalculatedDP", "CalculatedWC", "RolloverHour", "ConfirmClose",
        "CloseOnSuspend", "SyncDavisClock", "DataLogInterval", "WindUnit", "PressureUnit", "RainUnit", "TempUnit",
        "LocName", "LocDesc", "StartDate", "WindComp", "LastLoggerDownload", "YTDrain", "YTDrainyear", "EWInterval",
        "EWFile", "UseDataLogger", "UseBrezmorForecast", "UseBrezmorPresstrendstr", "FCpressinMB", "FClowpress",
        "FChighpress", "ForceVPBarUpdate", "UseZeroBearing", "ComPortName"};
    EXPECT_EQ(stationKeys, stationOrder) << "read-only keys are not written either";

    const qsizetype local1 = lines.indexOf("ExtraLocal1=");
    ASSERT_GE(local1, 5);
    EXPECT_EQ(lines.mid(local1 - 5, 6),
              (QList<QByteArray>{"ExtraLocal0=", "ExtraRemote0=", "ExtraProcess0=0", "ExtraBinary0=0",
                                 "ExtraRealtime0=0", "ExtraLocal1="}));
    for (const char* line : {"ClockColour=-16777201", "FClowpress=950", "StartDate=29/03/2026",
                             "LastLoggerDownload=29/03/2025 10:15:30", "RainTodayColour=9527753", "AltitudeInFeet=1"})
        EXPECT_TRUE(lines.contains(line)) << line;
}

TEST_F(SettingsFileTest, ACommaDecimalLocaleRoundTrips)
{
    Settings settings = makeSettings(germanRegional());
    settings.load(now());
    settings.setSingle(Setting::WindSpeedMult, 1.1f);
    settings.setSingle(Setting::FClowpress, 950.0f);
    settings.setReal(Setting::Latitude, 52.5163);
    settings.setDateTime(Setting::LastLoggerDownload, EncodeDateTime(2026, 3, 29, 1, 30));
    ASSERT_TRUE(settings.save());

    const QList<QByteArray> lines = linesOf(ReadBytes(path()));
    for (const char* line : {"WindSpeedMult=1,1", "FClowpress=950", "Latitude=52,5163",
                             "LastLoggerDownload=29.03.2026 01:30:00", "StartDate=29.03.2026"})
        EXPECT_TRUE(lines.contains(line)) << line;

    Settings reloaded = makeSettings(germanRegional());
    EXPECT_TRUE(reloaded.load(now()).isEmpty());
    expectSameValues(settings, reloaded);
    EXPECT_EQ(reloaded.single(Setting::WindSpeedMult), 1.1f);
}

TEST_F(SettingsFileTest, ADataLogIntervalOutOfRangeReadsAsTenMinutes)
{
    struct Case {
        const char* stored;
        int expected;
        bool reported;
    };
    const Case cases[] = {{"9", 2, true}, {"-3", 2, true}, {"6", 2, true}, {"5", 5, false}, {"0", 0, false}};
    for (const Case& c : cases) {
        writeFile(path(), QByteArray("[Station]\r\nDataLogInterval=") + c.stored + "\r\n");
        Settings settings = makeSettings();
        const QStringList problems = settings.load(now());
        EXPECT_EQ(settings.integer(Setting::DataLogInterval), c.expected) << c.stored;
        EXPECT_EQ(problems.size(), c.reported ? 1 : 0) << c.stored;
    }
}

TEST_F(SettingsFileTest, EveryKeyIsWrittenFromItsOwnValue)
{
    // Keys that share a name or a default must not stand in for one another
    // across a restart.
    Settings settings = makeSettings();
    settings.load(now());
    settings.setInteger(Setting::FtpPort, 2121);
    settings.setInteger(Setting::StationPort, 4);
    settings.setText(Setting::XapPort, QStringLiteral("3700"));
    settings.setText(Setting::AprsPort, QStringLiteral("14581"));
    settings.setInteger(Setting::RainColour, 255);
    settings.setInteger(Setting::RainTodayColour, 65280);
    settings.setText(Setting::FtpPassword, QStringLiteral("ftp secret"));
    settings.setText(Setting::WundergroundPassword, QStringLiteral("wu secret"));
    settings.setBoolean(Setting::PwsEnabled, true);
    settings.setText(Setting::Heading, QString::fromUtf8("Wetter in Łódź"));
    ASSERT_TRUE(settings.save());

    Settings reloaded = makeSettings();
    reloaded.load(now());
    EXPECT_EQ(reloaded.integer(Setting::FtpPort), 2121);
    EXPECT_EQ(reloaded.integer(Setting::StationPort), 4);
    EXPECT_EQ(reloaded.text(Setting::XapPort), "3700");
    EXPECT_EQ(reloaded.text(Setting::AprsPort), "14581");
    EXPECT_EQ(reloaded.integer(Setting::RainColour), 255);
    EXPECT_EQ(reloaded.integer(Setting::RainTodayColour), 65280);
    EXPECT_EQ(reloaded.text(Setting::FtpPassword), "ftp secret");
    EXPECT_EQ(reloaded.text(Setting::WundergroundPassword), "wu secret");
    EXPECT_TRUE(reloaded.boolean(Setting::PwsEnabled));
    EXPECT_FALSE(reloaded.boolean(Setting::WundergroundEnabled));
    EXPECT_EQ(reloaded.text(Setting::Heading), QString::fromUtf8("Wetter in ?ód?"))
        << "the file holds only Windows-1252";
}

TEST_F(SettingsFileTest, KeysTypedIntoTheFileWhileTheProgramRunsSurviveASave)
{
    writeFile(path(), "[Station]\r\nType=0\r\n");
    Settings settings = makeSettings();
    settings.load(now());
    writeFile(path(), "[Station]\r\nType=0\r\nSpecialLog=1\r\n[Mine]\r\nx=1\r\n");
    ASSERT_TRUE(settings.save());
    const QList<QByteArray> lines = linesOf(ReadBytes(path()));
    EXPECT_TRUE(lines.contains("SpecialLog=1"));
    EXPECT_TRUE(lines.contains("x=1"));
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Brezmor.ini"})
        << "no temporary file is left behind";
}

TEST_F(SettingsFileTest, AFileThatCouldNotBeReadIsNeverSavedOver)
{
    // A directory in its place cannot be read, whoever runs the test.
    ASSERT_TRUE(QDir().mkdir(path()));
    Settings settings = makeSettings();
    const QStringList problems = settings.load(now());
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems.front().contains(path())) << problems.front().toStdString();
    EXPECT_EQ(settings.integer(Setting::Type), -1);

    ASSERT_TRUE(QDir().rmdir(path()));
    const QByteArray userSettings = "[Station]\r\nType=3\r\nLocName=Home\r\n";
    writeFile(path(), userSettings);
    QString error;
    EXPECT_FALSE(settings.save(&error));
    EXPECT_TRUE(error.contains(path())) << error.toStdString();
    EXPECT_EQ(ReadBytes(path()), userSettings);
}

TEST_F(SettingsFileTest, AFailedWriteIsReportedAndKeepsTheValues)
{
    // A plain file stands where the folder should be, so even root cannot write there.
    {
        QFile blocker(m_folder.filePath(QStringLiteral("blocked")));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    Settings settings(m_folder.filePath(QStringLiteral("blocked/Brezmor.ini")), britishRegional(), m_folder.path());
    settings.load(now());
    settings.setInteger(Setting::Type, 2);
    QString error;
    EXPECT_FALSE(settings.save(&error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Unable to save settings to "))) << error.toStdString();
    EXPECT_EQ(settings.integer(Setting::Type), 2);
}

TEST(SettingsStore, AskingForASettingByTheWrongTypeIsCaughtInDebugBuilds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Settings settings(QStringLiteral("unused.ini"), RegionalSettings{}, QString());
    EXPECT_DEBUG_DEATH((void)settings.single(Setting::Model), "Model");
}

}  // namespace
}  // namespace brezmor
