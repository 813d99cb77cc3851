#include "settings/setting_table.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <set>
#include <string>
#include <utility>

namespace brezmor {
namespace {

std::string lowerCase(const char* name)
{
    return QByteArray(name).toLower().toStdString();
}

TEST(SettingsTable, EachEnumeratorHasItsOwnRowAndEachKeyItsOwnEnumerator)
{
    const auto table = settingTable();
    ASSERT_EQ(table.size(), kSettingCount);
    std::set<std::pair<std::string, std::string>> seen;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto setting = static_cast<Setting>(i);
        EXPECT_EQ(&definitionOf(setting), &table[i]) << table[i].key;
        EXPECT_EQ(table[i].id, setting) << table[i].key;
        // Names match without regard to case, so "port" and "Port" in one
        // section would be one key written twice.
        const bool unique = seen.emplace(lowerCase(table[i].section), lowerCase(table[i].key)).second;
        EXPECT_TRUE(unique) << table[i].section << "/" << table[i].key;
    }
}

TEST(SettingsTable, OnlyTheHandTypedKeysAreReadOnly)
{
    const std::set<std::pair<std::string, std::string>> expected{
        {"Station", "EWFF"}, {"Station", "EWtempdiff"}, {"Station", "Logging"}, {"Station", "SpecialLog"},
        {"Wunderground", "Logging"}};
    std::set<std::pair<std::string, std::string>> readOnly;
    for (const SettingDefinition& definition : settingTable()) {
        if (definition.readOnly)
            readOnly.emplace(definition.section, definition.key);
    }
    EXPECT_EQ(readOnly, expected);
}

TEST(SettingsTable, ExtraFileHelpersNameTheKeysOfTheirEntry)
{
    struct Field {
        Setting (*helper)(int);
        const char* stem;
        SettingType type;
    };
    const Field fields[] = {{extraLocal, "ExtraLocal", SettingType::String},
                            {extraRemote, "ExtraRemote", SettingType::String},
                            {extraProcess, "ExtraProcess", SettingType::Bool},
                            {extraBinary, "ExtraBinary", SettingType::Bool},
                            {extraRealtime, "ExtraRealtime", SettingType::Bool}};
    for (int n = 0; n < kExtraFileCount; ++n) {
        for (const Field& field : fields) {
            const SettingDefinition& definition = definitionOf(field.helper(n));
            EXPECT_EQ(QByteArray(definition.key), QByteArray(field.stem) + QByteArray::number(n));
            EXPECT_EQ(definition.type, field.type) << definition.key;
            EXPECT_STREQ(definition.section, "FTP site");
        }
    }
}

TEST(SettingsTable, AlarmHelpersFollowTheAlarmOrder)
{
    const char* const thresholds[] = {"alarmlowtemp",       "alarmhightemp",     "alarmlowpress", "alarmhighpress",
                                      "alarmhighraintoday", "alarmhighrainrate", "alarmhighgust", "alarmhighwind"};
    const char* const stems[] = {"LowTempAlarm",       "HighTempAlarm",     "LowPressAlarm", "HighPressAlarm",
                                 "HighRainTodayAlarm", "HighRainRateAlarm", "HighGustAlarm", "HighWindAlarm"};
    for (int n = 0; n < kAlarmCount; ++n) {
        const QByteArray stem(stems[n]);
        EXPECT_STREQ(definitionOf(alarmThreshold(n)).key, thresholds[n]);
        EXPECT_EQ(QByteArray(definitionOf(alarmSet(n)).key), stem + "Set");
        EXPECT_EQ(QByteArray(definitionOf(alarmSound(n)).key), stem + "Sound");
        EXPECT_EQ(QByteArray(definitionOf(alarmSoundFile(n)).key), stem + "SoundFile");
        EXPECT_EQ(definitionOf(alarmSoundFile(n)).runtimeDefault, RuntimeDefault::AlertSound);
    }
}

}  // namespace
}  // namespace brezmor
