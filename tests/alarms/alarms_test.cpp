#include "alarms/alarms.h"

#include "platform/datetime.h"
#include "platform/regional.h"
#include "settings/settings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace brezmor {
namespace {

TEST(CheckAlarm, StepsByDirectionStateAndReading)
{
    using enum AlarmDirection;
    using enum AlarmState;
    struct Case {
        const char* why;
        bool enabled;
        AlarmDirection direction;
        AlarmState state;
        float threshold;
        float reading;
        AlarmState expected;
    };
    const Case cases[] = {
        {"high alarm raised above the threshold", true, High, Idle, 25.0f, 25.1f, Raised},
        {"high alarm ignores a reading below", true, High, Idle, 25.0f, 24.9f, Idle},
        {"equal reading does not raise a high alarm", true, High, Idle, 25.0f, 25.0f, Idle},
        {"low alarm raised below the threshold", true, Low, Idle, 1000.0f, 999.9f, Raised},
        {"equal reading does not raise a low alarm", true, Low, Idle, 1000.0f, 1000.0f, Idle},
        {"a cleared alarm is raised again", true, High, Cleared, 25.0f, 25.1f, Raised},
        {"a cleared alarm stays cleared while the reading is back", true, High, Cleared, 25.0f, 24.0f, Cleared},
        {"a raised alarm stays raised further beyond", true, High, Raised, 25.0f, 30.0f, Raised},
        {"equal reading does not clear a high alarm", true, High, Raised, 25.0f, 25.0f, Raised},
        {"high alarm clears below the threshold", true, High, Raised, 25.0f, 24.9f, Cleared},
        {"equal reading does not clear a low alarm", true, Low, Raised, 1000.0f, 1000.0f, Raised},
        {"low alarm clears above the threshold", true, Low, Raised, 1000.0f, 1000.1f, Cleared},
        {"a disabled alarm is not raised", false, High, Idle, 25.0f, 40.0f, Idle},
        {"a disabled alarm keeps its raised state", false, High, Raised, 25.0f, 10.0f, Raised},
        {"a disabled alarm keeps its cleared state", false, Low, Cleared, 1000.0f, 900.0f, Cleared},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(CheckAlarm(c.enabled, c.direction, c.state, c.threshold, c.reading), c.expected);
    }
}

// The keys of each alarm, written out here rather than taken from the code
// under test, so a mix-up of the settings shows.
struct AlarmKeys {
    AlarmId alarm;
    Setting threshold;
    Setting enabled;
    Setting sound;
    Setting soundFile;
};
constexpr AlarmKeys kKeys[] = {
    {AlarmId::LowTemp, Setting::alarmlowtemp, Setting::LowTempAlarmSet, Setting::LowTempAlarmSound,
     Setting::LowTempAlarmSoundFile},
    {AlarmId::HighTemp, Setting::alarmhightemp, Setting::HighTempAlarmSet, Setting::HighTempAlarmSound,
     Setting::HighTempAlarmSoundFile},
    {AlarmId::LowPress, Setting::alarmlowpress, Setting::LowPressAlarmSet, Setting::LowPressAlarmSound,
     Setting::LowPressAlarmSoundFile},
    {AlarmId::HighPress, Setting::alarmhighpress, Setting::HighPressAlarmSet, Setting::HighPressAlarmSound,
     Setting::HighPressAlarmSoundFile},
    {AlarmId::HighRainToday, Setting::alarmhighraintoday, Setting::HighRainTodayAlarmSet,
     Setting::HighRainTodayAlarmSound, Setting::HighRainTodayAlarmSoundFile},
    {AlarmId::HighRainRate, Setting::alarmhighrainrate, Setting::HighRainRateAlarmSet,
     Setting::HighRainRateAlarmSound, Setting::HighRainRateAlarmSoundFile},
    {AlarmId::HighGust, Setting::alarmhighgust, Setting::HighGustAlarmSet, Setting::HighGustAlarmSound,
     Setting::HighGustAlarmSoundFile},
    {AlarmId::HighWind, Setting::alarmhighwind, Setting::HighWindAlarmSet, Setting::HighWindAlarmSound,
     Setting::HighWindAlarmSoundFile},
};

const AlarmKeys& KeysOf(AlarmId alarm)
{
    return kKeys[static_cast<int>(alarm)];
}

class AlarmsTest : public ::testing::Test {
protected:
    AlarmsTest()
    {
        m_settings.load(EncodeDateTime(2026, 7, 1, 12));
        m_alarms.addObserver([this](const AlarmEvent& event) { m_events.push_back(event); });
    }

    void arm(AlarmId alarm, float threshold, bool sound = false)
    {
        const AlarmKeys& keys = KeysOf(alarm);
        m_settings.setSingle(keys.threshold, threshold);
        m_settings.setBoolean(keys.enabled, true);
        m_settings.setBoolean(keys.sound, sound);
        m_settings.setText(keys.soundFile, QStringLiteral("/sounds/%1.wav").arg(static_cast<int>(alarm)));
    }

    QTemporaryDir m_dir;
    Settings m_settings{m_dir.filePath(QStringLiteral("Brezmor.ini")), RegionalSettings{}, m_dir.path()};
    Alarms m_alarms{m_settings};
    std::vector<AlarmEvent> m_events;
};

TEST_F(AlarmsTest, HighTemperatureSoundsOncePerCrossing)
{
    arm(AlarmId::HighTemp, 25.0f, true);
    struct Step {
        float reading;
        AlarmState state;
    };
    const Step steps[] = {
        {24.9f, AlarmState::Idle},    {25.0f, AlarmState::Idle},    {25.1f, AlarmState::Raised},
        {25.2f, AlarmState::Raised},  {25.0f, AlarmState::Raised},  {24.9f, AlarmState::Cleared},
        {25.1f, AlarmState::Raised},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.reading);
        m_alarms.CheckAlarm(AlarmId::HighTemp, step.reading);
        EXPECT_EQ(m_alarms.state(AlarmId::HighTemp), step.state);
    }

    // One event per change only: raised with sound, cleared silently, raised with sound again.
    ASSERT_EQ(m_events.size(), 3u);
    const AlarmState expected[] = {AlarmState::Raised, AlarmState::Cleared, AlarmState::Raised};
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_events[i].alarm, AlarmId::HighTemp);
        EXPECT_EQ(m_events[i].state, expected[i]);
        EXPECT_EQ(m_events[i].playSound, expected[i] == AlarmState::Raised);
    }
    EXPECT_EQ(m_events[0].soundFile, QStringLiteral("/sounds/1.wav"));
    EXPECT_EQ(m_alarms.state(AlarmId::LowTemp), AlarmState::Idle);
}

TEST_F(AlarmsTest, EachAlarmReadsItsOwnSettingsInItsDirection)
{
    for (const AlarmKeys& keys : kKeys) {
        SCOPED_TRACE(static_cast<int>(keys.alarm));
        const bool low = keys.alarm == AlarmId::LowTemp || keys.alarm == AlarmId::LowPress;
        EXPECT_EQ(Alarms::direction(keys.alarm), low ? AlarmDirection::Low : AlarmDirection::High);
        arm(keys.alarm, 1000.0f, true);
        m_events.clear();

        m_alarms.CheckAlarm(keys.alarm, 1000.0f);
        EXPECT_TRUE(m_events.empty()) << "a reading at the threshold does nothing";
        m_alarms.CheckAlarm(keys.alarm, low ? 999.5f : 1000.5f);
        ASSERT_EQ(m_events.size(), 1u);
        EXPECT_EQ(m_events[0].alarm, keys.alarm);
        EXPECT_EQ(m_events[0].state, AlarmState::Raised);
        EXPECT_TRUE(m_events[0].playSound);
        EXPECT_EQ(m_events[0].soundFile, QStringLiteral("/sounds/%1.wav").arg(static_cast<int>(keys.alarm)));
    }
}

TEST_F(AlarmsTest, NoSoundUnlessChosenAndNothingWhileDisabled)
{
    m_alarms.CheckAlarm(AlarmId::HighGust, 80.0f);
    EXPECT_TRUE(m_events.empty()) << "alarms are off by default";

    arm(AlarmId::HighGust, 40.0f, false);
    m_alarms.CheckAlarm(AlarmId::HighGust, 45.0f);
    ASSERT_EQ(m_events.size(), 1u);
    EXPECT_EQ(m_events[0].state, AlarmState::Raised);
    EXPECT_FALSE(m_events[0].playSound);
}

TEST_F(AlarmsTest, DisablingOrMovingTheThresholdKeepsTheState)
{
    arm(AlarmId::HighRainRate, 5.0f);
    m_alarms.CheckAlarm(AlarmId::HighRainRate, 6.0f);
    m_settings.setBoolean(Setting::HighRainRateAlarmSet, false);
    m_alarms.CheckAlarm(AlarmId::HighRainRate, 0.0f);
    EXPECT_EQ(m_alarms.state(AlarmId::HighRainRate), AlarmState::Raised);

    m_settings.setBoolean(Setting::HighRainRateAlarmSet, true);
    m_settings.setSingle(Setting::alarmhighrainrate, 10.0f);
    EXPECT_EQ(m_alarms.state(AlarmId::HighRainRate), AlarmState::Raised);
    m_alarms.CheckAlarm(AlarmId::HighRainRate, 8.0f);
    EXPECT_EQ(m_alarms.state(AlarmId::HighRainRate), AlarmState::Cleared) << "the new threshold applies";
    EXPECT_EQ(m_events.size(), 2u);
}

TEST_F(AlarmsTest, AcknowledgedAlarmIsRaisedAgainAtTheNextReadingStillBeyond)
{
    arm(AlarmId::HighTemp, 25.0f, true);
    m_alarms.CheckAlarm(AlarmId::HighTemp, 26.0f);
    m_events.clear();

    m_alarms.acknowledge(AlarmCaption::Temp);
    EXPECT_EQ(m_alarms.state(AlarmId::HighTemp), AlarmState::Idle);
    ASSERT_EQ(m_events.size(), 2u) << "both temperature captions turn black";
    for (const AlarmEvent& event : m_events) {
        EXPECT_EQ(event.state, AlarmState::Idle);
        EXPECT_FALSE(event.playSound);
    }
    m_events.clear();

    m_alarms.CheckAlarm(AlarmId::HighTemp, 26.0f);
    ASSERT_EQ(m_events.size(), 1u);
    EXPECT_EQ(m_events[0].state, AlarmState::Raised);
    EXPECT_TRUE(m_events[0].playSound);
}

TEST_F(AlarmsTest, EachCaptionAcknowledgesItsOwnAlarms)
{
    struct Case {
        AlarmCaption caption;
        std::vector<AlarmId> acknowledged;
    };
    const Case cases[] = {
        {AlarmCaption::Temp, {AlarmId::LowTemp, AlarmId::HighTemp}},
        {AlarmCaption::Pressure, {AlarmId::LowPress, AlarmId::HighPress}},
        {AlarmCaption::RainToday, {AlarmId::HighRainToday}},
        {AlarmCaption::RainRate, {AlarmId::HighRainRate}},
        {AlarmCaption::Gust, {AlarmId::HighGust}},
        {AlarmCaption::Wind, {AlarmId::HighWind}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.caption));
        Alarms alarms(m_settings);
        for (const AlarmKeys& keys : kKeys) {
            arm(keys.alarm, 50.0f);
            alarms.CheckAlarm(keys.alarm, Alarms::direction(keys.alarm) == AlarmDirection::Low ? 40.0f : 60.0f);
        }
        alarms.acknowledge(c.caption);
        for (const AlarmKeys& keys : kKeys) {
            const bool expectIdle = std::ranges::find(c.acknowledged, keys.alarm) != c.acknowledged.end();
            EXPECT_EQ(alarms.state(keys.alarm), expectIdle ? AlarmState::Idle : AlarmState::Raised)
                << static_cast<int>(keys.alarm);
        }
    }
}

}  // namespace
}  // namespace brezmor
