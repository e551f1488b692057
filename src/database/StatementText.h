#pragma once

#include <QString>
#include <QStringList>

// The text sent for a statement made of lines: every line followed by CR LF.
QString statementText(const QStringList& lines);

// The value with every single quote doubled, for placing between the quotes of an SQL
// string literal: whatever the value holds, it stays one literal.
QString withQuotesDoubled(const QString& value);

// A statement text whose parameter markers became "?", and the marked names in order.
struct PositionalText {
    QString text;
    QStringList parameterNames;
};

// Replaces every parameter marker, a colon followed by a name outside quoted text, by
// "?" and keeps the name; the library binds parameters only by position.
PositionalText withPositionalParameters(const QString& text);

// Refuses a text whose last quoted literal or quoted name is never closed, before
// anything is sent: "SQL Parse Error:", an empty line and "EOF in string detected".
void throwIfQuoteLeftOpen(const QString& text);
