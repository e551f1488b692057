#pragma once

#include "ByteSource.h"

#include <QByteArray>

#include <optional>
#include <vector>

// Reads a byte source in large blocks, so that taking the answer line by line
// does not cost one read of the source per byte. A read of the source that fails
// travels out as the source's Error, and what it leaves in `into` is of no use.
class BufferedReader {
public:
    explicit BufferedReader(ByteSource& source);

    // The next line, ended by LF, without the LF and without a CR just before it.
    // Nothing when the stream ends before the LF (atEnd() then tells so) or when
    // the line is longer than maxLength.
    std::optional<QByteArray> readLine(qsizetype maxLength);
    // Appends exactly count bytes; false when the stream ends first.
    bool readExactly(qsizetype count, QByteArray& into);
    // Appends everything up to the end of the stream; false when `into` would grow
    // beyond maxSize.
    bool readToEnd(QByteArray& into, qsizetype maxSize);
    // Whether the source has reported the end of the stream.
    bool atEnd() const { return atEnd_; }

private:
    // Refills the empty buffer with one read of the source; false at the end of the stream.
    bool fill();
    qsizetype buffered() const { return end_ - start_; }
    // Moves up to count buffered bytes to the end of `into`; gives how many.
    qsizetype take(qsizetype count, QByteArray& into);
    // Reads straight from the source onto the end of `into`, bypassing the buffer;
    // false at the end of the stream.
    bool readDirectly(qsizetype count, QByteArray& into);

    ByteSource& source_;
    std::vector<char> buffer_;
    qsizetype start_ = 0;
    qsizetype end_ = 0;
    bool atEnd_ = false;
};
