#include "contactstext.h"

#include <QStringDecoder>

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

#include <memory>

namespace {

struct Bom
{
    QByteArray bytes;
    const char *encoding;
};

// The single-byte encoding ICU finds most likely; a Hungarian one is taken
// as Windows-1250, which Excel writes and which holds every letter of
// ISO-8859-2's Hungarian.
QString detectedEncoding(const QByteArray &bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCharsetDetector, void (*)(UCharsetDetector *)> detector(ucsdet_open(&status), ucsdet_close);
    if (U_FAILURE(status))
        return QStringLiteral("windows-1250");
    ucsdet_setText(detector.get(), bytes.constData(), int32_t(std::min<qsizetype>(bytes.size(), 1 << 20)), &status);
    int32_t count = 0;
    const UCharsetMatch **matches = ucsdet_detectAll(detector.get(), &count, &status);
    for (int32_t i = 0; U_SUCCESS(status) && i < count; ++i) {
        const QString name = QString::fromLatin1(ucsdet_getName(matches[i], &status));
        const QString language = QString::fromLatin1(ucsdet_getLanguage(matches[i], &status));
        if (name.startsWith(QLatin1String("UTF")))
            continue;  // without a byte-order mark, a UTF-16 guess is no guess
        if (language == QLatin1String("hu") || name == QLatin1String("ISO-8859-2"))
            return QStringLiteral("windows-1250");
        return name;
    }
    return QStringLiteral("windows-1250");
}

} // namespace

QString decodeBytes(const QByteArray &bytes, const QString &encoding)
{
    if (encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(bytes);
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UConverter, void (*)(UConverter *)> converter(ucnv_open(encoding.toLatin1().constData(), &status), ucnv_close);
    if (U_FAILURE(status))
        return {};
    QString text(bytes.size() * 2 + 2, Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar *>(text.data()), int32_t(text.size()),
                                         bytes.constData(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status))
        return {};
    text.truncate(length);
    return text;
}

ContactsText decodeContacts(const QByteArray &bytes, const QString &encoding)
{
    const Bom boms[] = {{"\xEF\xBB\xBF", "UTF-8"}, {"\xFF\xFE", "UTF-16LE"}, {"\xFE\xFF", "UTF-16BE"}};
    for (const Bom &bom : boms) {
        if (bytes.startsWith(bom.bytes) && (encoding.isEmpty() || encoding == QLatin1String(bom.encoding)))
            return {decodeBytes(bytes.mid(bom.bytes.size()), QLatin1String(bom.encoding)), QLatin1String(bom.encoding), false};
    }
    if (!encoding.isEmpty())
        return {decodeBytes(bytes, encoding), encoding, false};
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {text, QStringLiteral("UTF-8"), false};
    const QString found = detectedEncoding(bytes);
    return {decodeBytes(bytes, found), found, true};
}

QStringList contactEncodings()
{
    return {QStringLiteral("UTF-8"), QStringLiteral("UTF-16LE"), QStringLiteral("UTF-16BE"), QStringLiteral("windows-1250"),
            QStringLiteral("ISO-8859-2"), QStringLiteral("windows-1252")};
}
