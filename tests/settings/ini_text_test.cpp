#include "settings/ini_text.h"

#include <gtest/gtest.h>

namespace brezmor {
namespace {

QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

TEST(SettingsIniText, EditingAKeyChangesOnlyItsValue)
{
    const QByteArray original = crlf("; hand-written notes\n"
                                     "\n"
                                     "[Station]\n"
                                     "  Type = 1\n"
                                     "Unknown=kept\n"
                                     "not a key at all\n"
                                     "\n"
                                     "[Other]\n"
                                     "Type=9\n"
                                     "; closing comment");
    IniEditor editor(original);
    editor.setValue("station", "TYPE", "6");
    const QByteArray expected = crlf("; hand-written notes\n"
                                     "\n"
                                     "[Station]\n"
                                     "  Type = 6\n"
                                     "Unknown=kept\n"
                                     "not a key at all\n"
                                     "\n"
                                     "[Other]\n"
                                     "Type=9\n"
                                     "; closing comment\n");
    EXPECT_EQ(editor.text(), expected);
}

TEST(SettingsIniText, NewKeysAndSectionsGoWhereTheFileHasAlwaysPutThem)
{
    IniEditor editor(crlf("[Station]\n"
                          "Type=1\n"
                          "\n"
                          "; about the FTP site\n"
                          "[ftp SITE]\n"
                          "Host=example.org\n"));
    editor.setValue("Station", "Model", "VP2");
    editor.setValue("FTP site", "Port", "2121");
    editor.setValue("FTP Site", "AutoUpdate", "1");
    editor.setValue("xAP", "UID", "4375");
    EXPECT_EQ(editor.text(), crlf("[Station]\n"
                                  "Type=1\n"
                                  "Model=VP2\n"
                                  "\n"
                                  "; about the FTP site\n"
                                  "[ftp SITE]\n"
                                  "Host=example.org\n"
                                  "Port=2121\n"
                                  "AutoUpdate=1\n"
                                  "\n"
                                  "[xAP]\n"
                                  "UID=4375\n"));
}

TEST(SettingsIniText, AnyLineEndIsReadAndCrLfIsWritten)
{
    IniEditor editor("[A]\nx=1\r[B]\r\ny=2");
    editor.setValue("B", "y", "3");
    EXPECT_EQ(editor.text(), "[A]\r\nx=1\r\n[B]\r\ny=3\r\n");
    EXPECT_EQ(IniEditor("").text(), "");
}

TEST(SettingsIniText, ALineBreakInAValueCannotStartALine)
{
    IniEditor editor("[Display]\r\n");
    editor.setValue("Display", "Heading", "Weather\r\n[Evil]\r\nType=1");
    EXPECT_EQ(editor.text(), "[Display]\r\nHeading=Weather  [Evil]  Type=1\r\n");
    IniValues values;
    ASSERT_TRUE(values.parse(editor.text()));
    EXPECT_FALSE(values.value("Evil", "Type"));
}

TEST(SettingsIniText, WhatTheEditorWritesIsWhatTheReaderReads)
{
    // Lines that a reader and a writer could easily understand differently.
    const QByteArray awkward = crlf("\xEF\xBB\xBF[Station]\n"
                                    "Type=1\n"
                                    "Type=2\n"
                                    "\tModel\t=\t spaced \t\n"
                                    "; Port=7 in a comment\n"
                                    "# Altitude=8 in a comment\n"
                                    "=no key\n"
                                    "Latitude\n"
                                    "[Broken\n"
                                    "LocName=after a broken header\n"
                                    "[ FTP Site ] trailing text\n"
                                    "Host=first\n"
                                    "[Other]\n"
                                    "Host=other\n"
                                    "[ftp site]\n"
                                    "Host=second\n"
                                    "Port=21\n");
    IniValues before;
    ASSERT_TRUE(before.parse(awkward));
    EXPECT_EQ(before.value("station", "type"), QByteArray("2")) << "the last of two copies counts";
    EXPECT_EQ(before.value("Station", "Model"), QByteArray("spaced"));
    EXPECT_FALSE(before.value("Station", "Port"));
    EXPECT_EQ(before.value("FTP site", "Host"), QByteArray("second"));
    EXPECT_FALSE(before.value("Station", "LocName")) << "a header without its ] hides the keys after it";

    IniEditor editor(awkward);
    const std::pair<const char*, const char*> edited[] = {
        {"Station", "Type"},     {"Station", "Model"},   {"Station", "Port"},  {"Station", "Altitude"},
        {"Station", "Latitude"}, {"Station", "LocName"}, {"FTP site", "Host"}, {"FTP site", "Port"},
        {"FTP site", "Username"}};
    int n = 0;
    for (const auto& [section, key] : edited)
        editor.setValue(section, key, "value" + QByteArray::number(++n));

    IniValues after;
    ASSERT_TRUE(after.parse(editor.text()));
    n = 0;
    for (const auto& [section, key] : edited)
        EXPECT_EQ(after.value(section, key), "value" + QByteArray::number(++n)) << section << "/" << key;
    EXPECT_EQ(after.value("Other", "Host"), QByteArray("other"));

    // New keys join the first block of their section after its last key;
    // comments and lines that are not keys stay where they were.
    EXPECT_EQ(editor.text(), crlf("\xEF\xBB\xBF[Station]\n"
                                  "Type=value1\n"
                                  "Type=value1\n"
                                  "\tModel\t=\t value2\n"
                                  "Port=value3\n"
                                  "Altitude=value4\n"
                                  "Latitude=value5\n"
                                  "LocName=value6\n"
                                  "; Port=7 in a comment\n"
                                  "# Altitude=8 in a comment\n"
                                  "=no key\n"
                                  "Latitude\n"
                                  "[Broken\n"
                                  "LocName=after a broken header\n"
                                  "[ FTP Site ] trailing text\n"
                                  "Host=value7\n"
                                  "Username=value9\n"
                                  "[Other]\n"
                                  "Host=other\n"
                                  "[ftp site]\n"
                                  "Host=value7\n"
                                  "Port=value8\n"));
}

}  // namespace
}  // namespace brezmor
