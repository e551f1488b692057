#include "StatementText.h"

#include "Error.h"

QString statementText(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString withQuotesDoubled(const QString& value)
{
    QString doubled = value;
    return doubled.replace(u'\'', QStringLiteral("''"));
}

namespace {

bool isNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

} // namespace

PositionalText withPositionalParameters(const QString& text)
{
    PositionalText result;
    QChar openQuote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!openQuote.isNull()) {
            // A doubled quote closes and reopens the literal, which leaves it open as before.
            if (c == openQuote)
                openQuote = QChar();
        } else if (c == u'\'' || c == u'"') {
            openQuote = c;
        } else if (c == u':' && i + 1 < text.size() && isNameCharacter(text[i + 1])) {
            qsizetype end = i + 1;
            while (end < text.size() && isNameCharacter(text[end]))
                ++end;
            result.parameterNames << text.mid(i + 1, end - i - 1);
            result.text += u'?';
            i = end - 1;
            continue;
        }
        result.text += c;
    }
    return result;
}

void throwIfQuoteLeftOpen(const QString& text)
{
    QChar openQuote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (openQuote.isNull()) {
            if (c == u'\'' || c == u'"')
                openQuote = c;
        } else if (c == openQuote) {
            // A doubled quote stands for itself inside the literal.
            if (i + 1 < text.size() && text[i + 1] == openQuote)
                ++i;
            else
                openQuote = QChar();
        }
    }
    if (!openQuote.isNull())
        throw Error(QStringLiteral("SQL Parse Error:\r\n\r\nEOF in string detected"));
}
