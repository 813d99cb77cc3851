#include "platform/windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace brezmor {
namespace {

constexpr char kSubstitute = '\x1A';

QStringDecoder windows1252Decoder()
{
    QStringDecoder decoder("windows-1252");
    // A Qt built without ICU knows only Latin-1, which differs from the code
    // page in 0x80 to 0x9F alone; far better than an invalid decoder, which
    // would blank every text setting.
    if (!decoder.isValid())
        return QStringDecoder(QStringConverter::Latin1);
    return decoder;
}

QStringEncoder windows1252Encoder()
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return QStringEncoder(QStringConverter::Latin1);
    return encoder;
}

}  // namespace

QString fromWindows1252(QByteArrayView bytes)
{
    QStringDecoder decoder = windows1252Decoder();
    return decoder.decode(bytes);
}

QByteArray toWindows1252(QStringView text)
{
    // Plain ASCII, nearly every line, is the same in the code page; opening a
    // converter costs more than the line.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QStringEncoder encoder = windows1252Encoder();
    QByteArray bytes = encoder.encode(text);
    if (!bytes.contains(kSubstitute))
        return bytes;
    // The converter stands in the control character 0x1A for a character the
    // code page lacks, and does not always flag it; "?" is what a user
    // expects to see in the file.
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView character = text.mid(i, pair ? 2 : 1);
        QStringEncoder single = windows1252Encoder();
        const QByteArray encoded = single.encode(character);
        const bool lacking = single.hasError() || (encoded == QByteArrayView(&kSubstitute, 1) && character != u"\x1A");
        bytes += lacking ? QByteArray("?") : encoded;
        i += character.size();
    }
    return bytes;
}

}  // namespace brezmor
