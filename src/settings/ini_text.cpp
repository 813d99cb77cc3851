#include "settings/ini_text.h"

// The settings file is 8-bit and its values are converted by the caller, so
// SimpleIni's wide-character converters are not wanted, and its templates
// (whose bodies the packaged header keeps behind SI_IMPLEMENTATION) are
// instantiated here rather than taken from the ICU-built library.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace brezmor {
namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// The case folding SimpleIni applies to names: ASCII letters only.
QByteArray folded(QByteArrayView name)
{
    QByteArray result = name.toByteArray();
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

QByteArray lookupKey(QByteArrayView section, QByteArrayView key)
{
    // No name holds a line break, so it cannot make two pairs meet.
    return folded(section) + '\n' + folded(key);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmedBlanks(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

}  // namespace

bool IniValues::parse(const QByteArray& text)
{
    m_values.clear();
    CSimpleIniA ini(false, false, false);
    if (ini.LoadData(text.constData(), static_cast<size_t>(text.size())) < 0)
        return false;
    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const CSimpleIniA::Entry& section : sections) {
        const CSimpleIniA::TKeyVal* keys = ini.GetSection(section.pItem);
        if (keys == nullptr)
            continue;
        for (const auto& [key, value] : *keys)
            m_values.insert(lookupKey(section.pItem, key.pItem), QByteArray(value));
    }
    return true;
}

std::optional<QByteArray> IniValues::value(QByteArrayView section, QByteArrayView key) const
{
    const auto found = m_values.constFind(lookupKey(section, key));
    if (found == m_values.constEnd())
        return std::nullopt;
    return *found;
}

IniEditor::IniEditor(const QByteArray& text)
{
    QByteArrayView rest(text);
    if (rest.startsWith(kByteOrderMark)) {
        m_byteOrderMark = kByteOrderMark.toByteArray();
        rest = rest.sliced(kByteOrderMark.size());
    }
    // CR LF, LF and a lone CR all end a line, as they do for the reader.
    qsizetype start = 0;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (rest[i] != '\r' && rest[i] != '\n')
            continue;
        m_lines.push_back(classify(rest.sliced(start, i - start).toByteArray()));
        if (rest[i] == '\r' && i + 1 < rest.size() && rest[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < rest.size())
        m_lines.push_back(classify(rest.sliced(start).toByteArray()));
}

IniEditor::Line IniEditor::classify(QByteArray text)
{
    Line line{std::move(text), LineKind::Other, {}};
    const QByteArrayView content = trimmedBlanks(line.text);
    if (content.isEmpty() || content.front() == ';' || content.front() == '#')
        return line;
    if (content.front() == '[') {
        line.kind = LineKind::Section;
        const qsizetype close = content.indexOf(']');
        // The reader puts the keys after a header that lacks its "]" into a
        // section whose name holds a line break, which no lookup can reach.
        line.name = close >= 0 ? folded(trimmedBlanks(content.sliced(1, close - 1))) : QByteArray("\n");
        return line;
    }
    const qsizetype equals = content.indexOf('=');
    if (equals < 0)
        return line;
    const QByteArrayView key = trimmedBlanks(content.first(equals));
    if (key.isEmpty())
        return line;
    line.kind = LineKind::Key;
    line.name = folded(key);
    return line;
}

void IniEditor::setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    QByteArray safeValue = value.toByteArray();
    safeValue.replace('\r', ' ').replace('\n', ' ');
    const QByteArray sectionName = folded(section);
    const QByteArray keyName = folded(key);

    bool replaced = false;
    bool inSection = false;
    bool inFirstBlock = false;
    std::optional<std::size_t> insertAfter;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        if (line.kind == LineKind::Section) {
            inSection = line.name == sectionName;
            inFirstBlock = inSection && !insertAfter;
            if (inFirstBlock)
                insertAfter = i;
            continue;
        }
        if (!inSection || line.kind != LineKind::Key)
            continue;
        if (inFirstBlock)
            insertAfter = i;
        if (line.name != keyName)
            continue;
        // Every copy of the key gets the value, since the reader takes the last.
        qsizetype valueStart = line.text.indexOf('=') + 1;
        while (valueStart < line.text.size() && isBlank(line.text[valueStart]))
            ++valueStart;
        line.text = line.text.first(valueStart) + safeValue;
        replaced = true;
    }
    if (replaced)
        return;

    Line keyLine = classify(key.toByteArray() + '=' + safeValue);
    if (insertAfter) {
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(*insertAfter) + 1, std::move(keyLine));
        return;
    }
    if (!m_lines.empty())
        m_lines.push_back(Line{});
    m_lines.push_back(classify('[' + section.toByteArray() + ']'));
    m_lines.push_back(std::move(keyLine));
}

QByteArray IniEditor::text() const
{
    QByteArray result = m_byteOrderMark;
    for (const Line& line : m_lines)
        result += line.text + "\r\n";
    return result;
}

}  // namespace brezmor
