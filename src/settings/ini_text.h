#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <optional>
#include <vector>

namespace brezmor {

// The raw values of an INI text by section and key, parsed by SimpleIni.
// Names match without regard to ASCII case; a section that appears twice is
// one section, and of a key that appears twice in it the last value counts.
class IniValues {
public:
    // False when the text could not be parsed at all (out of memory).
    [[nodiscard]] bool parse(const QByteArray& text);
    [[nodiscard]] std::optional<QByteArray> value(QByteArrayView section, QByteArrayView key) const;

private:
    QHash<QByteArray, QByteArray> m_values;
};

// Writes values into an INI text the way the settings file has always been
// written: a key's line is replaced in place, a new key goes after the last
// key of its section, a new section at the end of the text. Every other line
// (comments, unknown keys and sections, lines that are not key=value at all)
// is kept byte for byte. Lines are understood exactly as IniValues reads
// them, so what is written here is what is read back.
class IniEditor {
public:
    explicit IniEditor(const QByteArray& text);

    // A line break in the value would end the line early and turn the rest
    // into a line of its own, so it is written as a space.
    void setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value);

    // The text with every line ended by CR LF.
    [[nodiscard]] QByteArray text() const;

private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        QByteArray text;
        LineKind kind = LineKind::Other;
        // The section or key name, ASCII lower case.
        QByteArray name;
    };

    static Line classify(QByteArray text);

    QByteArray m_byteOrderMark;
    std::vector<Line> m_lines;
};

}  // namespace brezmor
