#pragma once

#include "ByteSource.h"

#include <QByteArray>

#include <optional>
#include <vector>

// Reads a byte source in large blocks, so that taking the answer line by line
// does not cost one read of the source per byte.
class BufferedReader {
public:
    explicit BufferedReader(ByteSource& source);

    // The next line, ended by LF, without the LF and without a CR just before it.
    // Nothing when the stream ends or fails before the LF, or when the line is
    // longer than maxLength.
    std::optional<QByteArray> readLine(qsizetype maxLength);
    // Appends exactly count bytes; false when the stream ends or fails first.
    bool readExactly(qsizetype count, QByteArray& into);
    // Appends everything up to the end of the stream; false when reading fails or
    // `into` would grow beyond maxSize.
    bool readToEnd(QByteArray& into, qsizetype maxSize);

private:
    enum class Fill { Data, End, Failed };

    // Refills the empty buffer with one read of the source.
    Fill fill();
    qsizetype buffered() const { return end_ - start_; }
    // Moves up to count buffered bytes to the end of `into`; gives how many.
    qsizetype take(qsizetype count, QByteArray& into);
    // Reads straight from the source onto the end of `into`, bypassing the buffer.
    Fill readDirectly(qsizetype count, QByteArray& into);

    ByteSource& source_;
    std::vector<char> buffer_;
    qsizetype start_ = 0;
    qsizetype end_ = 0;
};
