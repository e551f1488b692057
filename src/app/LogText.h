#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The text of the log pane, kept at little more than its own size: every line in UTF-8
// (half of what the same text takes as QString, the log being mostly Latin letters and
// digits), one after the other, with where each line starts. Only ever appended to.
class LogText {
public:
    // Appends the text as the new last line: after a line break, unless the text so far
    // ends with one, in which case a line break follows the new text instead. A line break
    // inside the text starts a further line.
    void appendLine(const QString& text);

    // Lines are the text between line breaks: a text that ends with a line break ends
    // with an empty line.
    qsizetype lineCount() const { return static_cast<qsizetype>(lineStarts_.size()); }
    QString line(qsizetype index) const;
    QString toPlainText() const { return QString::fromUtf8(text_); }

private:
    void append(QByteArrayView bytes);

    QByteArray text_;
    std::vector<qsizetype> lineStarts_{0};
};
