#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// One scripted server answer and what the download makes of it.
struct ResponseCase {
    const char* name;
    QByteArray answer;
    // The body the target file holds afterwards; nothing when the download fails
    // and the file must stay untouched.
    std::optional<QByteArray> stored;
    // Why the download fails; empty when it succeeds.
    QString reason = {};
};

const std::vector<ResponseCase>& responseCases();
