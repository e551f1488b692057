#pragma once

#include "Numbers.h"

#include <QString>

#include <cstdint>

// The value of one field of the current record; every value is text.
class FieldValue {
public:
    explicit FieldValue(QString text)
        : text_(std::move(text))
    {
    }

    // The whole stored text, not trimmed; empty when the document had no value.
    const QString& asText() const { return text_; }
    // Fails with "'%s' is not a valid integer value" for anything but a 32-bit whole number.
    std::int32_t asInteger() const { return parseInteger(text_); }

private:
    QString text_;
};
